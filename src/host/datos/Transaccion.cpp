#include "host/datos/Transaccion.h"

#include "host/datos/Conexion.h"

namespace orvinda {

Transaccion::Transaccion(Conexion& conexion, Proveedor proveedor)
    : m_conexion(conexion)
    , m_proveedor(std::move(proveedor))
{
    m_conexion.BeginTrans();
    m_abierta = true;
}

Transaccion::~Transaccion()
{
    // The failure being reported, if any, is the one that matters.
    try {
        Deshacer();
    } catch (...) {
    }
}

Conexion& Transaccion::Actual()
{
    return m_proveedor ? m_proveedor() : m_conexion;
}

void Transaccion::Confirmar()
{
    Actual().CommitTrans();
    m_abierta = false;
}

void Transaccion::Deshacer()
{
    if (!m_abierta)
        return;
    m_abierta = false;
    // A lost session may have ended it already.
    Conexion& conexion = Actual();
    if (conexion.EnTransaccion())
        conexion.RollbackTrans();
}

} // namespace orvinda
