#pragma once

#include "host/servicios/FabricaClase.h"

#include <atomic>

namespace rm640 {

// The class factory of Pantalla. One static instance; its references keep
// the library loaded.
class FabricaPantalla : public orvinda::FabricaClase
{
public:
    static FabricaPantalla& Instancia();

    QObject* CrearInstancia() override;
    void AddRef() override;
    void Release() override;

    // Nothing of the component is in use: no factory reference, no
    // Pantalla and no inbox form alive.
    bool PuedeDescargarse() const;

private:
    FabricaPantalla() = default;
    std::atomic<int> m_referencias{0};
};

} // namespace rm640
