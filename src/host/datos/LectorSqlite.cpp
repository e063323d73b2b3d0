#include "host/datos/LectorSqlite.h"

#include "host/datos/CeldasListado.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <memory>
#include <sqlite3.h>

namespace orvinda {

sqlite3* LectorSqlite::Handle(const QSqlDatabase& db)
{
    const QVariant h = db.driver() ? db.driver()->handle() : QVariant();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(h.constData());
}

QString LectorSqlite::Leer(sqlite3* h, const QString& consulta, const std::function<void(const QStringList&)>& columnas,
                           CeldasListado& celdas, const std::atomic<bool>& cancelada)
{
    const QByteArray texto = consulta.toUtf8();
    sqlite3_stmt* sentencia = nullptr;
    const char* resto = nullptr;
    if (sqlite3_prepare_v2(h, texto.constData(), static_cast<int>(texto.size()), &sentencia, &resto) != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(h));
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> liberar(sentencia, sqlite3_finalize);
    // As Qt's driver says it: one statement at a time.
    if (resto && !QByteArrayView(resto).trimmed().isEmpty())
        return QStringLiteral("Unable to execute multiple statements at a time");
    const int n = sqlite3_column_count(sentencia);
    QStringList nombres;
    for (int i = 0; i < n; ++i)
        nombres.append(QString::fromUtf8(sqlite3_column_name(sentencia, i)));
    columnas(nombres);

    for (;;) {
        const int rc = sqlite3_step(sentencia);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            return QString::fromUtf8(sqlite3_errmsg(h));
        if (cancelada.load(std::memory_order_relaxed))
            return QString();
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(sentencia, i)) {
            case SQLITE_NULL: celdas.Nulo(); break;
            case SQLITE_INTEGER: celdas.Entero(sqlite3_column_int64(sentencia, i)); break;
            case SQLITE_FLOAT: celdas.Real(sqlite3_column_double(sentencia, i)); break;
            default: {
                const auto* datos = reinterpret_cast<const char*>(sqlite3_column_text(sentencia, i));
                celdas.Texto(datos, sqlite3_column_bytes(sentencia, i));
                break;
            }
            }
        }
        celdas.FinFila(n);
    }
    celdas.Terminar();
    return QString();
}

} // namespace orvinda
