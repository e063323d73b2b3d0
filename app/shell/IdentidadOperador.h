#pragma once

#include <QString>

namespace orvinda {

class Conexion;

// Who the operator is: the account the session runs under, mapped to one
// operator in Operadores (column Op_Cuenta). On the embedded database the
// account is the operating-system user; on a server it is the database
// login, so the server's grants and the operator's audit name agree.
class IdentidadOperador
{
public:
    struct Sesion
    {
        QString cuenta;
        QString operador;
        int nivel = 0;
        bool demo = false;
        // What the command line asked for, and whether it was honoured.
        QString aviso;
    };

    // Marks a database made by --crear-demo: there, and only there,
    // --operador and --nivel are honoured.
    static inline const QString ParametroDemo = QStringLiteral("ORV_DATOS_DEMO");

    static QString CuentaSistema();
    static QString Cuenta(Conexion& conexion);
    static bool EsDemo(Conexion& conexion);

    // Throws ErrorRm, with what to do about it, for an account no operator
    // is mapped to, one mapped to several, or an unknown --operador. On a
    // database whose Operadores has no Op_Cuenta yet it does not throw: see
    // SinCuentas.
    static Sesion Resolver(Conexion& conexion, const QString& operadorPedido, int nivelPedido);

    // Marks the new demo database and maps the account that created it to ADMIN.
    static void MarcarDemo(Conexion& conexion);

private:
    static Sesion SinCuentas(Conexion& conexion, Sesion s, const QString& operadorPedido, int nivelPedido);
};

} // namespace orvinda
