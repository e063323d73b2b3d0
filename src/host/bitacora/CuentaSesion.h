#pragma once

#include "host/datos/Conexion.h"

#include <QString>

namespace orvinda {

// The account behind a session: on the embedded database the
// operating-system user, on a server the login itself, not a role or user
// the session switched to afterwards.
class CuentaSesion
{
public:
    // The effective user of this process.
    static QString DelSistema();
    // The server's own expression for the login; empty where the account is
    // the operating system's.
    static QString Expresion(Conexion::Dialecto dialecto);
    // Whether Operadores says which account each operator is (its column
    // Op_Cuenta). A database without that table has nothing to map.
    static bool OperadoresConCuenta(Conexion& conexion);
};

} // namespace orvinda
