#pragma once

#include "host/servicios/FabricaClase.h"

#include <atomic>

namespace rm640 {

// The class factory of Pantalla. One static instance; its references and
// server locks keep the library loaded.
class FabricaPantalla : public orvinda::FabricaClase
{
public:
    static FabricaPantalla& Instancia();

    QObject* CrearInstancia() override;
    void AddRef() override;
    void Release() override;
    void LockServer(bool bloquear) override;

    // Nothing of the component is in use: no factory reference, no lock,
    // no Pantalla and no inbox form alive.
    bool PuedeDescargarse() const;

private:
    FabricaPantalla() = default;
    std::atomic<int> m_referencias{0};
    std::atomic<int> m_bloqueos{0};
};

} // namespace rm640
