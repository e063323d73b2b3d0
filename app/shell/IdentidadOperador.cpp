#include "shell/IdentidadOperador.h"

#include "host/bitacora/CuentaSesion.h"
#include "host/datos/Conexion.h"
#include "host/datos/Transaccion.h"
#include "host/errores/ErrorRm.h"
#include "servicios/TextoSql.h"

namespace orvinda {

QString IdentidadOperador::CuentaSistema()
{
    return CuentaSesion::DelSistema();
}

QString IdentidadOperador::Cuenta(Conexion& conexion)
{
    // The login itself: a role or user the session switched to afterwards
    // (SET ROLE, EXECUTE AS, or the same asked for in the connection's
    // settings) does not change who is at the keyboard.
    const QString expresion = CuentaSesion::Expresion(conexion.ObtenerDialecto());
    if (expresion.isEmpty())
        return CuentaSistema();
    Recordset rs = conexion.Execute(QStringLiteral("SELECT ") + expresion);
    if (rs.Eof() || rs.Fields(0).EsNulo() || rs.Fields(0).Texto().isEmpty())
        throw ErrorRm(QStringLiteral("El servidor no dijo con qué usuario se inició la sesión."));
    return rs.Fields(0).Texto();
}

bool IdentidadOperador::EsDemo(Conexion& conexion)
{
    Recordset rs
        = conexion.Execute(QStringLiteral("SELECT Pg_Valor FROM Parametros_Generales WHERE Pg_Cve_Parametro = %1")
                               .arg(TextoSql::Literal(ParametroDemo)));
    return !rs.Eof() && !rs.Fields(0).EsNulo() && rs.Fields(0).Texto().trimmed() == QLatin1String("1");
}

IdentidadOperador::Sesion IdentidadOperador::SinCuentas(Conexion& conexion, Sesion s, const QString& operadorPedido,
                                                        int nivelPedido)
{
    // Before accounts were mapped the operator was whoever the command line
    // named. That is still so on demo data; elsewhere it would hand anyone
    // ADMIN's level, so the shell opens as no operator, and the log refuses
    // every decision until the column is added.
    if (s.demo) {
        s.operador = operadorPedido.isEmpty() ? QStringLiteral("ADMIN") : operadorPedido;
        Recordset op = conexion.Execute(QStringLiteral("SELECT Op_Nivel FROM Operadores WHERE Op_Cve_Operador = %1")
                                            .arg(TextoSql::Literal(s.operador)));
        if (op.Eof())
            throw ErrorRm(QStringLiteral("El operador \"%1\" no existe en la tabla Operadores.").arg(s.operador));
        s.nivel = nivelPedido >= 0 ? nivelPedido : op.Fields(0).EsNulo() ? 0 : op.Fields(0).Value().toInt();
    }
    s.aviso
        = QStringLiteral("La tabla Operadores no tiene la columna Op_Cuenta: %1 (cuenta %2); no se decide nada "
                         "hasta agregarla con orvinda --actualizar-esquema")
              .arg(s.demo ? QStringLiteral("datos de demostración, operador %1, nivel %2").arg(s.operador).arg(s.nivel)
                          : QStringLiteral("sin operador"),
                   s.cuenta);
    return s;
}

IdentidadOperador::Sesion IdentidadOperador::Resolver(Conexion& conexion, const QString& operadorPedido,
                                                      int nivelPedido)
{
    Sesion s;
    s.cuenta = Cuenta(conexion);
    s.demo = EsDemo(conexion);
    if (!CuentaSesion::OperadoresConCuenta(conexion))
        return SinCuentas(conexion, s, operadorPedido, nivelPedido);
    Recordset rs
        = conexion.Execute(QStringLiteral("SELECT Op_Cve_Operador, Op_Nivel FROM Operadores WHERE Op_Cuenta = %1")
                               .arg(TextoSql::Literal(s.cuenta)));
    if (rs.Eof())
        throw ErrorRm(
            QStringLiteral("La cuenta \"%1\" no está asociada a ningún operador. El administrador debe anotarla en la"
                           " columna Op_Cuenta del operador que le corresponde en la tabla Operadores.")
                .arg(s.cuenta));
    s.operador = rs.Fields(0).Texto();
    s.nivel = rs.Fields(1).EsNulo() ? 0 : rs.Fields(1).Value().toInt();
    rs.MoveNext();
    if (!rs.Eof())
        throw ErrorRm(
            QStringLiteral(
                "La cuenta \"%1\" está asociada a varios operadores en la tabla Operadores; debe quedar en uno solo.")
                .arg(s.cuenta));

    const bool pedido = !operadorPedido.isEmpty() || nivelPedido >= 0;
    if (!pedido)
        return s;
    if (!s.demo) {
        s.aviso = QStringLiteral("--operador y --nivel no se aplican: la base no es de demostración; operador %1, "
                                 "nivel %2 (cuenta %3)")
                      .arg(s.operador)
                      .arg(s.nivel)
                      .arg(s.cuenta);
        return s;
    }
    if (!operadorPedido.isEmpty()) {
        Recordset op = conexion.Execute(QStringLiteral("SELECT Op_Nivel FROM Operadores WHERE Op_Cve_Operador = %1")
                                            .arg(TextoSql::Literal(operadorPedido)));
        if (op.Eof())
            throw ErrorRm(QStringLiteral("El operador \"%1\" no existe en la tabla Operadores.").arg(operadorPedido));
        s.operador = operadorPedido;
        s.nivel = op.Fields(0).EsNulo() ? 0 : op.Fields(0).Value().toInt();
    }
    if (nivelPedido >= 0)
        s.nivel = nivelPedido;
    s.aviso = QStringLiteral("Datos de demostración: --operador/--nivel aplicados; operador %1, nivel %2 (cuenta %3)")
                  .arg(s.operador)
                  .arg(s.nivel)
                  .arg(s.cuenta);
    return s;
}

void IdentidadOperador::MarcarDemo(Conexion& conexion)
{
    const QString cuenta = Cuenta(conexion);
    Transaccion transaccion(conexion);
    conexion.Execute(
        QStringLiteral(
            "INSERT INTO Parametros_Generales (Pg_Cve_Parametro, Pg_Ambito, Pg_Tipo, Pg_Valor, Pg_Descripcion)"
            " VALUES (%1, 0, 'B', '1', 'Base creada con --crear-demo: admite --operador y --nivel')")
            .arg(TextoSql::Literal(ParametroDemo)));
    conexion.Execute(QStringLiteral("UPDATE Operadores SET Op_Cuenta = %1 WHERE Op_Cve_Operador = 'ADMIN'")
                         .arg(TextoSql::Literal(cuenta)));
    transaccion.Confirmar();
}

} // namespace orvinda
