#include "host/datos/LectorOdbc.h"

#include "host/datos/CeldasListado.h"
#include "host/datos/ErrorSql.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>
#include <memory>
#include <sql.h>
#include <sqlext.h>

namespace orvinda {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager's wide text is UTF-16");

QString DeWide(const SQLWCHAR* texto, qsizetype largo)
{
    // Taken as it is: no byte order mark is looked for.
    return QString(reinterpret_cast<const QChar*>(texto), largo);
}

// The driver's diagnostics, as Qt's driver words them, with the SQL state as
// the error's code.
ErrorRm Diagnostico(SQLSMALLINT tipo, SQLHANDLE handle)
{
    QString texto, estado;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR sqlstate[6] = {};
        SQLINTEGER nativo = 0;
        SQLWCHAR mensaje[1024] = {};
        SQLSMALLINT largo = 0;
        const SQLRETURN r = SQLGetDiagRecW(tipo, handle, i, sqlstate, &nativo, mensaje, 1024, &largo);
        if (!SQL_SUCCEEDED(r))
            break;
        if (estado.isEmpty())
            estado = DeWide(sqlstate, 5);
        const QString uno = DeWide(mensaje, std::min<qsizetype>(largo, 1023));
        if (texto != uno)
            texto += (texto.isEmpty() ? QString() : QStringLiteral(" ")) + uno;
    }
    return ErrorSql::De(
        QSqlError(QStringLiteral("QODBC: Unable to execute statement"), texto, QSqlError::StatementError, estado));
}

void LeerTexto(SQLHSTMT st, SQLUSMALLINT columna, CeldasListado& celdas)
{
    QString texto;
    SQLWCHAR trozo[4096];
    for (;;) {
        SQLLEN indicador = 0;
        const SQLRETURN r = SQLGetData(st, columna, SQL_C_WCHAR, trozo, sizeof trozo, &indicador);
        if (r == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(r) || indicador == SQL_NULL_DATA)
            return celdas.Nulo();
        const qsizetype capacidad = qsizetype(sizeof trozo / sizeof(SQLWCHAR)) - 1;
        const qsizetype llegados = (indicador == SQL_NO_TOTAL || indicador / qsizetype(sizeof(SQLWCHAR)) > capacidad)
            ? capacidad
            : indicador / qsizetype(sizeof(SQLWCHAR));
        texto += DeWide(trozo, llegados);
        if (r == SQL_SUCCESS)
            break;
    }
    celdas.Texto(texto);
}

template <typename T>
bool Leer(SQLHSTMT st, SQLUSMALLINT columna, SQLSMALLINT tipoC, T& valor)
{
    SQLLEN indicador = 0;
    return SQL_SUCCEEDED(SQLGetData(st, columna, tipoC, &valor, sizeof valor, &indicador))
        && indicador != SQL_NULL_DATA;
}

void LeerValor(SQLHSTMT st, SQLUSMALLINT columna, SQLSMALLINT tipo, CeldasListado& celdas)
{
    switch (tipo) {
    case SQL_DECIMAL:
    case SQL_NUMERIC:
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: {
        double d = 0;
        return Leer(st, columna, SQL_C_DOUBLE, d) ? celdas.Real(d) : celdas.Nulo();
    }
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_BIGINT: {
        SQLBIGINT n = 0;
        return Leer(st, columna, SQL_C_SBIGINT, n) ? celdas.Entero(n) : celdas.Nulo();
    }
    case SQL_DATE:
    case SQL_TYPE_DATE: {
        SQL_DATE_STRUCT f{};
        return Leer(st, columna, SQL_C_TYPE_DATE, f) ? celdas.Valor(QDate(f.year, f.month, f.day)) : celdas.Nulo();
    }
    case SQL_TIME:
    case SQL_TYPE_TIME: {
        SQL_TIME_STRUCT h{};
        return Leer(st, columna, SQL_C_TYPE_TIME, h) ? celdas.Valor(QTime(h.hour, h.minute, h.second)) : celdas.Nulo();
    }
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT m{};
        if (!Leer(st, columna, SQL_C_TYPE_TIMESTAMP, m))
            return celdas.Nulo();
        return celdas.Valor(QDateTime(QDate(m.year, m.month, m.day),
                                      QTime(m.hour, m.minute, m.second, static_cast<int>(m.fraction / 1000000))));
    }
    default: return LeerTexto(st, columna, celdas);
    }
}

} // namespace

void* LectorOdbc::Handle(const QSqlDatabase& db)
{
    if (db.driverName() != u"QODBC" || !db.driver())
        return nullptr;
    const QVariant h = db.driver()->handle();
    return h.isValid() && h.metaType().sizeOf() == sizeof(void*) ? *static_cast<void* const*>(h.constData()) : nullptr;
}

QString LectorOdbc::Leer(void* conexion, const QString& consulta,
                         const std::function<void(const QStringList&)>& columnas, CeldasListado& celdas,
                         const std::atomic<bool>& cancelada, bool& perdida, bool& leida)
{
    const auto fallo = [&perdida](const ErrorRm& e) {
        perdida = e.ObtenerCausa() == ErrorRm::Causa::ConexionPerdida;
        return e.Explicada(QString());
    };
    SQLHSTMT st = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, conexion, &st)))
        return fallo(Diagnostico(SQL_HANDLE_DBC, conexion));
    const std::unique_ptr<void, void (*)(void*)> liberar(st, [](void* h) { SQLFreeHandle(SQL_HANDLE_STMT, h); });
    SQLSetStmtAttr(st, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_FORWARD_ONLY), SQL_IS_UINTEGER);
    const SQLRETURN r = SQLExecDirectW(st, const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(consulta.utf16())),
                                       static_cast<SQLINTEGER>(consulta.size()));
    if (!SQL_SUCCEEDED(r) && r != SQL_NO_DATA)
        return fallo(Diagnostico(SQL_HANDLE_STMT, st));
    leida = true;
    SQLSMALLINT n = 0;
    SQLNumResultCols(st, &n);
    QStringList nombres;
    QList<SQLSMALLINT> tipos;
    for (SQLUSMALLINT i = 1; i <= n; ++i) {
        SQLWCHAR nombre[256] = {};
        SQLSMALLINT largo = 0, tipo = 0, decimales = 0, nulos = 0;
        SQLULEN tamanio = 0;
        SQLDescribeColW(st, i, nombre, 256, &largo, &tipo, &tamanio, &decimales, &nulos);
        nombres.append(DeWide(nombre, std::min<qsizetype>(largo, 255)));
        tipos.append(tipo);
    }
    columnas(nombres);
    for (;;) {
        const SQLRETURN f = SQLFetch(st);
        if (f == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(f))
            return fallo(Diagnostico(SQL_HANDLE_STMT, st));
        if (cancelada.load(std::memory_order_relaxed))
            return QString();
        for (SQLUSMALLINT i = 1; i <= n; ++i)
            LeerValor(st, i, tipos[i - 1], celdas);
        celdas.FinFila(n);
    }
    celdas.Terminar();
    return QString();
}

} // namespace orvinda
