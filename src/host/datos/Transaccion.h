#pragma once

#include <functional>

namespace orvinda {

class Conexion;

// One transaction on a connection: begun when made, rolled back when it goes
// unless Confirmar committed it. Every write goes through one, so no path out
// of it (a return, a refusal, an exception) leaves a transaction open.
class Transaccion
{
public:
    // Where the shell hands its connection out anew for each use, the commit
    // and the rollback ask for it again through proveedor.
    using Proveedor = std::function<Conexion&()>;

    explicit Transaccion(Conexion& conexion, Proveedor proveedor = {});
    ~Transaccion();
    Transaccion(const Transaccion&) = delete;
    Transaccion& operator=(const Transaccion&) = delete;

    void Confirmar();
    // Undone now rather than when it goes.
    void Deshacer();
    bool Abierta() const { return m_abierta; }

private:
    Conexion& Actual();

    Conexion& m_conexion;
    Proveedor m_proveedor;
    bool m_abierta = false;
};

} // namespace orvinda
