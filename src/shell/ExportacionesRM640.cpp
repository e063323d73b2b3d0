// The four entry points of the component library, with C linkage, and the
// version it was built as. Nothing may escape the entry points as an
// exception: every failure becomes a result code.

#include "host/errores/ErrorRm.h"
#include "host/servicios/FabricaClase.h"
#include "host/servicios/RegistroComponentes.h"
#include "shell/FabricaPantalla.h"
#include "shell/Pantalla.h"

#include <QFileInfo>
#include <QString>
#include <cstring>
#include <dlfcn.h>

using namespace orvinda;

#define RM640_EXPORTA extern "C" __attribute__((visibility("default")))

namespace {

QString RutaPropia()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&RutaPropia), &info) == 0 || !info.dli_fname)
        return {};
    // The shell maps the library from the descriptor it checked; the file
    // behind that descriptor is the one to register.
    const QString nombre = QString::fromLocal8Bit(info.dli_fname);
    if (nombre.startsWith(QLatin1String("/proc/self/fd/")))
        return QFileInfo(nombre).symLinkTarget();
    return nombre;
}

// The exports' trap: whatever the body raises becomes the code given.
template <typename Cuerpo>
std::int32_t Resultado(std::int32_t siFalla, Cuerpo cuerpo)
{
    try {
        return cuerpo();
    } catch (...) {
        return siFalla;
    }
}

} // namespace

[[gnu::used, gnu::section(RM640_SECCION_VERSION)]] extern const char VersionRM640[] = RM640_VERSION;

RM640_EXPORTA std::int32_t DllRegisterServer()
{
    return Resultado(Hresult::SelfRegE_Class, [] {
        const QString ruta = RutaPropia();
        if (ruta.isEmpty())
            return Hresult::SelfRegE_Class;
        RegistroComponentes::Escribir(
            {QString::fromLatin1(rm640::Pantalla::IdPrograma), QString::fromLatin1(rm640::Pantalla::Clsid), ruta});
        return Hresult::S_Ok;
    });
}

RM640_EXPORTA std::int32_t DllUnregisterServer()
{
    return Resultado(Hresult::SelfRegE_Class, [] {
        RegistroComponentes::Borrar(QString::fromLatin1(rm640::Pantalla::IdPrograma));
        return Hresult::S_Ok;
    });
}

RM640_EXPORTA std::int32_t DllGetClassObject(const char* clsid, const char* iid, void** objeto)
{
    if (!objeto)
        return Hresult::E_Pointer;
    *objeto = nullptr;
    return Resultado(Hresult::ClassE_ClassNotAvailable, [=] {
        if (!clsid
            || QString::fromLatin1(clsid).compare(QLatin1String(rm640::Pantalla::Clsid), Qt::CaseInsensitive) != 0)
            return Hresult::ClassE_ClassNotAvailable;
        if (!iid || std::strcmp(iid, IID_IClassFactory) != 0)
            return Hresult::E_NoInterface;
        auto& fabrica = rm640::FabricaPantalla::Instancia();
        fabrica.AddRef();
        *objeto = static_cast<FabricaClase*>(&fabrica);
        return Hresult::S_Ok;
    });
}

// When in doubt the library stays loaded.
RM640_EXPORTA std::int32_t DllCanUnloadNow()
{
    return Resultado(Hresult::S_False, [] {
        return rm640::FabricaPantalla::Instancia().PuedeDescargarse() ? Hresult::S_Ok : Hresult::S_False;
    });
}
