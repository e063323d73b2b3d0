#include "basedatos/ActualizacionEsquema.h"

#include "basedatos/EsquemaBaseDatos.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <stdexcept>

namespace orvinda {

namespace {

// The tables this version added to the shell's own.
constexpr const char* kNuevas[] = {"Bitacora_Decisiones", "Bitacora_Cabeza"};

} // namespace

QStringList ActualizacionEsquema::Actualizar(QSqlDatabase& db)
{
    const EsquemaBaseDatos::Dialecto dialecto = EsquemaBaseDatos::DialectoDe(db);
    QStringList existentes = db.tables(QSql::Tables);
    for (QString& t : existentes)
        t = t.toLower();
    const bool sinCuenta = existentes.contains(QStringLiteral("operadores"))
        && db.record(QStringLiteral("Operadores")).indexOf(QStringLiteral("Op_Cuenta")) < 0;

    QStringList sentencias, hecho;
    for (const DefinicionTabla& t : EsquemaBaseDatos::Tablas())
        for (const char* nueva : kNuevas)
            if (qstrcmp(t.nombre, nueva) == 0 && !existentes.contains(QString::fromLatin1(nueva).toLower())) {
                sentencias << EsquemaBaseDatos::Sentencias(t, dialecto);
                hecho << QStringLiteral("Se creó la tabla %1.").arg(QLatin1String(nueva));
            }
    // A log kept without its head (made by hand): the head starts at its last row.
    if (existentes.contains(QStringLiteral("bitacora_decisiones"))
        && !existentes.contains(QStringLiteral("bitacora_cabeza")))
        sentencias << QStringLiteral(
            "UPDATE Bitacora_Cabeza SET Bc_Ultimo_Id = (SELECT MAX(Bd_Id) FROM Bitacora_Decisiones),"
            " Bc_Hash = (SELECT Bd_Hash FROM Bitacora_Decisiones WHERE Bd_Id = (SELECT MAX(Bd_Id) FROM "
            "Bitacora_Decisiones))"
            " WHERE EXISTS (SELECT 1 FROM Bitacora_Decisiones)");
    if (sinCuenta) {
        sentencias << (dialecto == EsquemaBaseDatos::Dialecto::SqlServer
                           ? QStringLiteral("ALTER TABLE Operadores ADD Op_Cuenta NVARCHAR(128) NULL")
                           : QStringLiteral("ALTER TABLE Operadores ADD COLUMN Op_Cuenta VARCHAR(128) NULL"));
        hecho << QStringLiteral("Se agregó la columna Operadores.Op_Cuenta: anote en ella la cuenta de cada operador.");
    }
    if (sentencias.isEmpty())
        return {};

    if (!db.transaction())
        throw std::runtime_error(("No se pudo iniciar la transacción: " + db.lastError().text()).toStdString());
    QSqlQuery q(db);
    for (const QString& s : sentencias)
        if (!q.exec(s)) {
            const QString error = QStringLiteral("%1\n%2").arg(s, q.lastError().text());
            q.finish();
            db.rollback();
            throw std::runtime_error(error.toStdString());
        }
    q.finish();
    if (!db.commit()) {
        const QString error = db.lastError().text();
        db.rollback();
        throw std::runtime_error(error.toStdString());
    }
    return hecho;
}

} // namespace orvinda
