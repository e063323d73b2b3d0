#include "host/datos/ErrorSql.h"

#include "host/datos/Vigia.h"

#include <QSqlError>

namespace orvinda {

namespace {

bool Contiene(const QSqlError& e, std::initializer_list<const char*> codigos, std::initializer_list<const char*> textos)
{
    const QString codigo = e.nativeErrorCode();
    for (const char* c : codigos)
        if (codigo.startsWith(QLatin1String(c)))
            return true;
    const QString texto = e.text();
    for (const char* t : textos)
        if (texto.contains(QLatin1String(t), Qt::CaseInsensitive))
            return true;
    return false;
}

// The session is gone (server restarted, network cut), as opposed to a
// statement the server refused. Drivers word it differently; the SQL state
// class 08 and the server's shutdown states are the common ground.
bool SesionPerdida(const QSqlError& e)
{
    return Contiene(e, {"08", "57P0"},
                    {"server closed the connection", "no connection to the server", "could not send data",
                     "could not receive data", "terminating connection", "connection not open",
                     "communication link failure", "connection is closed", "connection lost"});
}

} // namespace

QString ErrorSql::Texto(const QSqlError& e)
{
    const QString base = e.databaseText().trimmed();
    return base.isEmpty() ? e.driverText().trimmed() : base;
}

ErrorRm ErrorSql::De(const QSqlError& e)
{
    ErrorRm::Causa causa = ErrorRm::Causa::Sentencia;
    if (SesionPerdida(e))
        causa = ErrorRm::Causa::ConexionPerdida;
    else if (Contiene(e, {"55P03", "1222"},
                      {"lock timeout", "database is locked", "database table is locked", "lock request time out"}))
        causa = ErrorRm::Causa::Bloqueo;
    else if (Contiene(e, {"25006"}, {"readonly database", "read-only transaction"}))
        causa = ErrorRm::Causa::SoloLectura;
    // SQLite's full or failing disk, PostgreSQL's insufficient resources and I/O error.
    else if (Contiene(e, {"53100", "53200", "53300", "58030"},
                      {"disk is full", "disk i/o error", "no space left on device"}))
        causa = ErrorRm::Causa::Almacenamiento;
    return ErrorRm(Texto(e), 0, causa);
}

ErrorRm ErrorSql::Cancelada(int limite, const ErrorRm& error)
{
    return ErrorRm(QStringLiteral("La sentencia pasó de %1 segundos, el límite de la base de datos "
                                  "(BD_LIMITE_SENTENCIA), y se canceló; no se aplicó ningún cambio.")
                       .arg(limite),
                   error.Numero());
}

ErrorRm ErrorSql::SinRespuesta(int limite, bool incierto)
{
    return ErrorRm(incierto ? QStringLiteral("No se sabe si el servidor llegó a aplicar el cambio: compruébelo antes "
                                             "de repetir la operación.")
                            : QStringLiteral("La operación no terminó en %1 segundos; no se aplicó ningún cambio.")
                                  .arg(limite + Vigia::MargenAbandonar.count()),
                   NumeroSinRespuesta, ErrorRm::Causa::SinRespuesta);
}

} // namespace orvinda
