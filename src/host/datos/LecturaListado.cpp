#include "host/datos/LecturaListado.h"

#include "host/datos/Campo.h"
#include "host/datos/ErrorSql.h"
#include "host/datos/SesionLectura.h"

#include <QLocale>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <charconv>
#include <cmath>
#include <sqlite3.h>

namespace orvinda {

namespace {

// Lives on the reading session's thread; what it emits reaches the reader
// on its own thread, and nowhere once the reader is gone.
class Emisor : public QObject
{
    Q_OBJECT

signals:
    void Columnas(const QStringList& nombres);
    void Filas(const QByteArray& texto, const QList<quint32>& fines);
    void Fin(const QString& error);
};

// The text of each value, as a list shows it: numbers in the operator's
// regional format without group separators, as Campo::Texto writes them.
class Celdas
{
public:
    Celdas()
    {
        m_regional.setNumberOptions(QLocale::OmitGroupSeparator);
        m_formatoSimple = m_regional.decimalPoint() == u"." && m_regional.negativeSign() == u"-"
            && m_regional.positiveSign() == u"+" && m_regional.exponential() == u"e" && m_regional.zeroDigit() == u"0";
        m_texto.reserve(1 << 16);
    }

    void Texto(const char* datos, qsizetype bytes)
    {
        m_texto.append(datos, bytes);
        Cerrar();
    }
    void Texto(const QString& texto)
    {
        m_texto.append(texto.toUtf8());
        Cerrar();
    }
    void Entero(qint64 n)
    {
        char cifras[24];
        const auto fin = std::to_chars(cifras, cifras + sizeof cifras, n).ptr;
        Texto(cifras, fin - cifras);
    }
    void Real(double d)
    {
        if (m_formatoSimple && std::isfinite(d)) {
            // Where the region writes numbers as C does, the same 15 digits
            // without going through QLocale (zero has no sign there).
            char cifras[32];
            const auto fin
                = std::to_chars(cifras, cifras + sizeof cifras, d == 0 ? 0.0 : d, std::chars_format::general, 15).ptr;
            Texto(cifras, fin - cifras);
            return;
        }
        Texto(m_regional.toString(d, 'g', 15));
    }
    void Valor(const QVariant& v)
    {
        if (v.isNull())
            return Texto(nullptr, 0);
        switch (v.typeId()) {
        case QMetaType::QString: return Texto(*static_cast<const QString*>(v.constData()));
        case QMetaType::LongLong:
        case QMetaType::Int: return Entero(v.toLongLong());
        case QMetaType::Double: return Real(v.toDouble());
        default: return Texto(Campo::ComoTexto(v));
        }
    }

    qsizetype Filas(int columnas) const { return columnas > 0 ? m_fines.size() / columnas : 0; }
    void Entregar(Emisor& emisor)
    {
        if (m_fines.isEmpty())
            return;
        emit emisor.Filas(m_texto, m_fines);
        m_texto.clear();
        m_fines.clear();
    }

private:
    void Cerrar() { m_fines.append(static_cast<quint32>(m_texto.size())); }

    QLocale m_regional;
    bool m_formatoSimple = false;
    QByteArray m_texto;
    QList<quint32> m_fines;
};

// The embedded database hands out UTF-8 and the list stores UTF-8: through
// its own handle each value goes straight across, with no QVariant and no
// UTF-16 in between.
QString LeerSqlite(sqlite3* h, const QString& consulta, Emisor& emisor, const std::atomic<bool>& cancelada)
{
    const QByteArray texto = consulta.toUtf8();
    sqlite3_stmt* sentencia = nullptr;
    const char* resto = nullptr;
    if (sqlite3_prepare_v2(h, texto.constData(), static_cast<int>(texto.size()), &sentencia, &resto) != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(h));
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> liberar(sentencia, sqlite3_finalize);
    if (resto && !QByteArrayView(resto).trimmed().isEmpty())
        return QStringLiteral("Unable to execute multiple statements at a time");
    const int n = sqlite3_column_count(sentencia);
    QStringList nombres;
    for (int i = 0; i < n; ++i)
        nombres.append(QString::fromUtf8(sqlite3_column_name(sentencia, i)));
    emit emisor.Columnas(nombres);

    Celdas celdas;
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
            case SQLITE_NULL: celdas.Texto(nullptr, 0); break;
            case SQLITE_INTEGER: celdas.Entero(sqlite3_column_int64(sentencia, i)); break;
            case SQLITE_FLOAT: celdas.Real(sqlite3_column_double(sentencia, i)); break;
            default: {
                const auto* datos = reinterpret_cast<const char*>(sqlite3_column_text(sentencia, i));
                celdas.Texto(datos, sqlite3_column_bytes(sentencia, i));
                break;
            }
            }
        }
        if (celdas.Filas(n) >= LecturaListado::FilasPorBloque)
            celdas.Entregar(emisor);
    }
    celdas.Entregar(emisor);
    return QString();
}

sqlite3* HandleSqlite(const QSqlDatabase& db)
{
    const QVariant h = db.driver() ? db.driver()->handle() : QVariant();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(h.constData());
}

// Any other engine through its Qt driver; a session lost before the first
// row is opened again once.
QString LeerQt(QSqlDatabase& db, const QString& consulta, Emisor& emisor, const std::atomic<bool>& cancelada,
               bool& perdida, bool& leida)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(consulta)) {
        const ErrorRm e = ErrorSql::De(q.lastError());
        perdida = e.ObtenerCausa() == ErrorRm::Causa::ConexionPerdida;
        return e.Explicada(QString());
    }
    leida = true;
    const QSqlRecord registro = q.record();
    QStringList nombres;
    for (int i = 0; i < registro.count(); ++i)
        nombres.append(registro.fieldName(i));
    emit emisor.Columnas(nombres);
    const int n = static_cast<int>(nombres.size());
    Celdas celdas;
    while (q.next()) {
        if (cancelada.load(std::memory_order_relaxed))
            return QString();
        for (int i = 0; i < n; ++i)
            celdas.Valor(q.value(i));
        if (celdas.Filas(n) >= LecturaListado::FilasPorBloque)
            celdas.Entregar(emisor);
    }
    if (q.lastError().isValid()) {
        const ErrorRm e = ErrorSql::De(q.lastError());
        perdida = e.ObtenerCausa() == ErrorRm::Causa::ConexionPerdida;
        return e.Explicada(QString());
    }
    celdas.Entregar(emisor);
    return QString();
}

} // namespace

LecturaListado::LecturaListado(SesionLectura& sesion, const QString& consulta)
{
    auto* emisor = new Emisor();
    connect(emisor, &Emisor::Columnas, this, &LecturaListado::Columnas);
    connect(emisor, &Emisor::Filas, this, &LecturaListado::Filas);
    connect(emisor, &Emisor::Fin, this, [this](const QString& error) {
        if (!Cancelada())
            emit Fin(error);
    });
    // Emitted on the session's thread, queued to this one.
    emisor->moveToThread(nullptr);
    sesion.Encargar([emisor, consulta, cancelada = m_cancelada, intentos = 0](QSqlDatabase& db,
                                                                              const QString& fallaApertura) mutable {
        const auto fin = [emisor](const QString& error) {
            emit emisor->Fin(error);
            delete emisor;
            return false;
        };
        if (cancelada->load())
            return fin(QString());
        if (!fallaApertura.isEmpty())
            return fin(fallaApertura);
        if (sqlite3* h = HandleSqlite(db))
            return fin(LeerSqlite(h, consulta, *emisor, *cancelada));
        bool perdida = false, leida = false;
        const QString error = LeerQt(db, consulta, *emisor, *cancelada, perdida, leida);
        if (perdida && !leida && ++intentos == 1)
            return true;
        if (perdida)
            db.close();
        return fin(error);
    });
}

LecturaListado::~LecturaListado()
{
    Cancelar();
}

void LecturaListado::Cancelar()
{
    m_cancelada->store(true);
}

} // namespace orvinda

#include "LecturaListado.moc"
