#pragma once

#include <cstdint>

class QObject;

namespace orvinda {

// Result codes of the component entry points, with the values a Windows build
// would return.
namespace Hresult {
constexpr std::int32_t S_Ok = 0;
constexpr std::int32_t S_False = 1;
constexpr std::int32_t E_NoInterface = static_cast<std::int32_t>(0x80004002u);
constexpr std::int32_t E_Pointer = static_cast<std::int32_t>(0x80004003u);
constexpr std::int32_t ClassE_ClassNotAvailable = static_cast<std::int32_t>(0x80040111u);
constexpr std::int32_t SelfRegE_Class = static_cast<std::int32_t>(0x80040201u);
} // namespace Hresult

// The interface name that DllGetClassObject accepts.
constexpr const char* IID_IClassFactory = "IClassFactory";

// The class factory that a component hands out through DllGetClassObject.
// Reference counted like its Windows counterpart: the caller releases it.
class FabricaClase
{
public:
    // A new object, owned by the caller; its members are reached by name
    // (properties and invokable methods). nullptr when creation failed.
    virtual QObject* CrearInstancia() = 0;
    virtual void AddRef() = 0;
    virtual void Release() = 0;

protected:
    virtual ~FabricaClase();
};

extern "C" {
using FuncionDllRegisterServer = std::int32_t (*)();
using FuncionDllUnregisterServer = std::int32_t (*)();
using FuncionDllGetClassObject = std::int32_t (*)(const char* clsid, const char* iid, void** objeto);
using FuncionDllCanUnloadNow = std::int32_t (*)();
}

// The ELF section in which a component library carries the version it was
// built as: the shell reads it from the file and never runs a component of
// another version.
#define RM640_SECCION_VERSION ".rm640_version"

} // namespace orvinda
