#include "host/datos/LecturaExacta.h"

#include "host/datos/ErrorSql.h"
#include "host/datos/LectorSqlite.h"
#include "host/datos/SentenciaOdbc.h"
#include "host/errores/ErrorRm.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringDecoder>
#include <memory>
#include <sqlite3.h>

namespace orvinda {

namespace {

ErrorRm ErrorSqlite(sqlite3* h)
{
    return ErrorSql::De(QSqlError(QStringLiteral("Unable to execute statement"), QString::fromUtf8(sqlite3_errmsg(h)),
                                  QSqlError::StatementError, QString::number(sqlite3_errcode(h))));
}

void RecorrerSqlite(sqlite3* h, const QString& consulta, const LecturaExacta::Fila& fila)
{
    const QByteArray texto = consulta.toUtf8();
    sqlite3_stmt* sentencia = nullptr;
    if (sqlite3_prepare_v2(h, texto.constData(), static_cast<int>(texto.size()), &sentencia, nullptr) != SQLITE_OK)
        throw ErrorSqlite(h);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> liberar(sentencia, sqlite3_finalize);
    const int n = sqlite3_column_count(sentencia);
    for (;;) {
        const int rc = sqlite3_step(sentencia);
        if (rc == SQLITE_DONE)
            return;
        if (rc != SQLITE_ROW)
            throw ErrorSqlite(h);
        QStringList valores;
        valores.reserve(n);
        for (int i = 0; i < n; ++i) {
            if (sqlite3_column_type(sentencia, i) == SQLITE_NULL) {
                valores.append(QString());
                continue;
            }
            // QString::fromUtf8 would drop a leading U+FEFF.
            QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
            const auto* datos = reinterpret_cast<const char*>(sqlite3_column_text(sentencia, i));
            valores.append(utf8(QByteArrayView(datos, sqlite3_column_bytes(sentencia, i))));
        }
        if (!fila(valores))
            return;
    }
}

QString Texto(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

} // namespace

void LecturaExacta::Recorrer(const QSqlDatabase& db, const QString& consulta, const Fila& fila)
{
    if (sqlite3* h = LectorSqlite::Handle(db))
        return RecorrerSqlite(h, consulta, fila);
    if (void* odbc = SentenciaOdbc::Handle(db)) {
        SentenciaOdbc s(odbc);
        s.Ejecutar(consulta);
        const auto n = s.Nombres().size();
        while (s.Siguiente()) {
            QStringList valores;
            for (qsizetype i = 0; i < n; ++i)
                valores.append(Texto(s.Valor(static_cast<int>(i))));
            if (!fila(valores))
                return;
        }
        return;
    }
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(consulta))
        throw ErrorSql::De(q.lastError());
    const int n = q.record().count();
    while (q.next()) {
        QStringList valores;
        for (int i = 0; i < n; ++i)
            valores.append(Texto(q.value(i)));
        if (!fila(valores))
            return;
    }
}

} // namespace orvinda
