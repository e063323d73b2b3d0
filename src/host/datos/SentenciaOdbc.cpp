#include "host/datos/SentenciaOdbc.h"

#include "host/datos/CeldasListado.h"
#include "host/datos/ErrorSql.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <mutex>
#include <sql.h>
#include <sqlext.h>
#include <vector>

namespace orvinda {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager's wide text is UTF-16");

// The handle, shared with whoever may cancel it from another thread. It is
// freed with the statement, while its connection is surely still there, and
// never later: a cancel that comes after finds none. While a cancel is under
// way (a server that does not answer may hold it long) the handle is left to
// the disconnection, which frees every statement of its session; the session
// is closed only once no cancel can be inside it.
struct SentenciaOdbc::Estado
{
    std::mutex candado;
    SQLHSTMT h = SQL_NULL_HSTMT;
    void Liberar()
    {
        std::unique_lock<std::mutex> bloqueo(candado, std::try_to_lock);
        if (bloqueo.owns_lock() && h != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, h);
        if (bloqueo.owns_lock())
            h = SQL_NULL_HSTMT;
    }
};

namespace {

QString DeWide(const SQLWCHAR* texto, qsizetype largo)
{
    // Taken as it is: no byte order mark is looked for.
    return QString(reinterpret_cast<const QChar*>(texto), largo);
}

// The driver's diagnostics, worded as Qt's driver words them, with the SQL
// state as the error's code.
ErrorRm Diagnostico(SQLSMALLINT tipo, SQLHANDLE handle)
{
    QString texto, estado;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR sqlstate[6] = {};
        SQLINTEGER nativo = 0;
        SQLSMALLINT largo = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(tipo, handle, i, sqlstate, &nativo, nullptr, 0, &largo)))
            break;
        QList<SQLWCHAR> mensaje(largo + 1);
        SQLGetDiagRecW(tipo, handle, i, sqlstate, &nativo, mensaje.data(), SQLSMALLINT(mensaje.size()), &largo);
        if (estado.isEmpty())
            estado = DeWide(sqlstate, 5);
        const QString uno = DeWide(mensaje.constData(), std::min<qsizetype>(largo, mensaje.size() - 1));
        if (texto != uno)
            texto += (texto.isEmpty() ? QString() : QStringLiteral(" ")) + uno;
    }
    return ErrorSql::De(
        QSqlError(QStringLiteral("QODBC: Unable to execute statement"), texto, QSqlError::StatementError, estado));
}

enum class Tipo { Texto, Binario, Real, Entero, EnteroSinSigno, Entero64, Fecha, Hora, Momento };

// As Qt's driver sorts them: a single-precision real comes back as text,
// and a type it does not know as bytes.
Tipo TipoDe(SQLSMALLINT sql)
{
    switch (sql) {
    case SQL_DECIMAL:
    case SQL_NUMERIC:
    case SQL_FLOAT:
    case SQL_DOUBLE: return Tipo::Real;
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIT: return Tipo::Entero;
    case SQL_TINYINT: return Tipo::EnteroSinSigno;
    case SQL_BIGINT: return Tipo::Entero64;
    case SQL_DATE:
    case SQL_TYPE_DATE: return Tipo::Fecha;
    case SQL_TIME:
    case SQL_TYPE_TIME: return Tipo::Hora;
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP: return Tipo::Momento;
    case SQL_REAL:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_GUID: return Tipo::Texto;
    default: return Tipo::Binario;
    }
}

// Text and bytes come in pieces; null gives false.
template <typename Unidad>
bool LeerTrozos(SQLHSTMT st, SQLUSMALLINT columna, SQLSMALLINT tipoC, std::vector<Unidad>& destino)
{
    destino.clear();
    Unidad trozo[4096];
    // Text ends in a terminator the driver writes into each piece.
    const qsizetype cabe = qsizetype(std::size(trozo)) - (tipoC == SQL_C_WCHAR ? 1 : 0);
    for (;;) {
        SQLLEN indicador = 0;
        const SQLRETURN r = SQLGetData(st, columna, tipoC, trozo, sizeof trozo, &indicador);
        if (r == SQL_NO_DATA)
            return true;
        if (!SQL_SUCCEEDED(r) || indicador == SQL_NULL_DATA)
            return false;
        const qsizetype llegaron
            = indicador == SQL_NO_TOTAL ? cabe : std::min(cabe, indicador / qsizetype(sizeof(Unidad)));
        destino.insert(destino.end(), trozo, trozo + llegaron);
        if (r == SQL_SUCCESS)
            return true;
    }
}

template <typename T>
bool LeerFijo(SQLHSTMT st, SQLUSMALLINT columna, SQLSMALLINT tipoC, T& valor)
{
    SQLLEN indicador = 0;
    return SQL_SUCCEEDED(SQLGetData(st, columna, tipoC, &valor, sizeof valor, &indicador))
        && indicador != SQL_NULL_DATA;
}

QVariant Nulo(QMetaType::Type tipo)
{
    return QVariant(QMetaType(tipo));
}

} // namespace

void* SentenciaOdbc::Handle(const QSqlDatabase& db)
{
    if (db.driverName() != u"QODBC" || !db.driver())
        return nullptr;
    const QVariant h = db.driver()->handle();
    return h.isValid() && h.metaType().sizeOf() == sizeof(void*) ? *static_cast<void* const*>(h.constData()) : nullptr;
}

SentenciaOdbc::SentenciaOdbc(void* conexion)
    : m_estado(std::make_shared<Estado>())
{
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, conexion, &m_estado->h))) {
        m_estado->h = SQL_NULL_HSTMT;
        throw Diagnostico(SQL_HANDLE_DBC, conexion);
    }
    SQLSetStmtAttr(m_estado->h, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_FORWARD_ONLY),
                   SQL_IS_UINTEGER);
}

SentenciaOdbc::~SentenciaOdbc()
{
    m_estado->Liberar();
}

void SentenciaOdbc::Ejecutar(const QString& texto)
{
    SQLHSTMT st = m_estado->h;
    const SQLRETURN r = SQLExecDirectW(st, const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(texto.utf16())),
                                       static_cast<SQLINTEGER>(texto.size()));
    if (!SQL_SUCCEEDED(r) && r != SQL_NO_DATA)
        throw Diagnostico(SQL_HANDLE_STMT, st);
    SQLSMALLINT n = 0;
    SQLNumResultCols(st, &n);
    for (SQLUSMALLINT i = 1; i <= n; ++i) {
        SQLWCHAR nombre[256] = {};
        SQLSMALLINT largo = 0, tipo = 0, decimales = 0, nulos = 0;
        SQLULEN tamanio = 0;
        SQLDescribeColW(st, i, nombre, 256, &largo, &tipo, &tamanio, &decimales, &nulos);
        m_nombres.append(DeWide(nombre, std::min<qsizetype>(largo, 255)));
        m_tipos.append(tipo);
    }
    if (n == 0)
        Consumir();
}

// A batch of writes runs on as its results are taken (some engines run the
// next statement only then); their counts add up.
void SentenciaOdbc::Consumir()
{
    SQLHSTMT st = m_estado->h;
    for (;;) {
        SQLLEN filas = -1;
        SQLSMALLINT columnas = 0;
        SQLNumResultCols(st, &columnas);
        if (columnas == 0 && SQL_SUCCEEDED(SQLRowCount(st, &filas)) && filas >= 0)
            m_afectadas = std::max<qint64>(m_afectadas, 0) + filas;
        const SQLRETURN r = SQLMoreResults(st);
        if (r == SQL_NO_DATA)
            return;
        if (!SQL_SUCCEEDED(r))
            throw Diagnostico(SQL_HANDLE_STMT, st);
    }
}

bool SentenciaOdbc::Siguiente()
{
    const SQLRETURN r = SQLFetch(m_estado->h);
    if (r == SQL_NO_DATA)
        return false;
    if (!SQL_SUCCEEDED(r))
        throw Diagnostico(SQL_HANDLE_STMT, m_estado->h);
    return true;
}

QVariant SentenciaOdbc::Valor(int columna)
{
    SQLHSTMT st = m_estado->h;
    const auto c = static_cast<SQLUSMALLINT>(columna + 1);
    switch (TipoDe(m_tipos[columna])) {
    case Tipo::Texto: {
        std::vector<SQLWCHAR> texto;
        return LeerTrozos(st, c, SQL_C_WCHAR, texto) ? QVariant(DeWide(texto.data(), qsizetype(texto.size())))
                                                     : QVariant();
    }
    case Tipo::Binario: {
        std::vector<char> bytes;
        return LeerTrozos(st, c, SQL_C_BINARY, bytes) ? QVariant(QByteArray(bytes.data(), qsizetype(bytes.size())))
                                                      : Nulo(QMetaType::QByteArray);
    }
    case Tipo::Real: {
        double d = 0;
        return LeerFijo(st, c, SQL_C_DOUBLE, d) ? QVariant(d) : Nulo(QMetaType::Double);
    }
    case Tipo::Entero: {
        SQLINTEGER n = 0;
        return LeerFijo(st, c, SQL_C_SLONG, n) ? QVariant(int(n)) : Nulo(QMetaType::Int);
    }
    case Tipo::EnteroSinSigno: {
        SQLUINTEGER n = 0;
        return LeerFijo(st, c, SQL_C_ULONG, n) ? QVariant(uint(n)) : Nulo(QMetaType::UInt);
    }
    case Tipo::Entero64: {
        SQLBIGINT n = 0;
        return LeerFijo(st, c, SQL_C_SBIGINT, n) ? QVariant(qlonglong(n)) : Nulo(QMetaType::LongLong);
    }
    case Tipo::Fecha: {
        SQL_DATE_STRUCT f{};
        return LeerFijo(st, c, SQL_C_TYPE_DATE, f) ? QVariant(QDate(f.year, f.month, f.day)) : Nulo(QMetaType::QDate);
    }
    case Tipo::Hora: {
        SQL_TIME_STRUCT h{};
        return LeerFijo(st, c, SQL_C_TYPE_TIME, h) ? QVariant(QTime(h.hour, h.minute, h.second))
                                                   : Nulo(QMetaType::QTime);
    }
    case Tipo::Momento: {
        SQL_TIMESTAMP_STRUCT m{};
        if (!LeerFijo(st, c, SQL_C_TYPE_TIMESTAMP, m))
            return Nulo(QMetaType::QDateTime);
        return QDateTime(QDate(m.year, m.month, m.day),
                         QTime(m.hour, m.minute, m.second, static_cast<int>(m.fraction / 1000000)));
    }
    }
    return QVariant();
}

void SentenciaOdbc::Celda(int columna, CeldasListado& celdas)
{
    SQLHSTMT st = m_estado->h;
    const auto c = static_cast<SQLUSMALLINT>(columna + 1);
    switch (TipoDe(m_tipos[columna])) {
    case Tipo::Texto: {
        std::vector<SQLWCHAR> texto;
        return LeerTrozos(st, c, SQL_C_WCHAR, texto) ? celdas.Texto(DeWide(texto.data(), qsizetype(texto.size())))
                                                     : celdas.Nulo();
    }
    case Tipo::Real: {
        double d = 0;
        return LeerFijo(st, c, SQL_C_DOUBLE, d) ? celdas.Real(d) : celdas.Nulo();
    }
    case Tipo::Entero:
    case Tipo::EnteroSinSigno:
    case Tipo::Entero64: {
        SQLBIGINT n = 0;
        return LeerFijo(st, c, SQL_C_SBIGINT, n) ? celdas.Entero(n) : celdas.Nulo();
    }
    default: return celdas.Valor(Valor(columna));
    }
}

std::function<void()> SentenciaOdbc::Cancelador() const
{
    return [estado = m_estado] {
        std::lock_guard<std::mutex> bloqueo(estado->candado);
        if (estado->h != SQL_NULL_HSTMT)
            SQLCancel(estado->h);
    };
}

} // namespace orvinda
