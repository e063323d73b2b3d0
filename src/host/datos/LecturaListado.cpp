#include "host/datos/LecturaListado.h"

#include "host/datos/CeldasListado.h"
#include "host/datos/ErrorSql.h"
#include "host/datos/LectorSqlite.h"
#include "host/datos/SentenciaOdbc.h"
#include "host/datos/SesionLectura.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>
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

using Columnas = std::function<void(const QStringList&)>;

// A server through the driver manager's own API (see SentenciaOdbc).
QString LeerOdbc(void* conexion, const QString& consulta, const Columnas& columnas, CeldasListado& celdas,
                 const std::atomic<bool>& cancelada, Vigia::Guardia& guardia, bool& perdida, bool& leida)
{
    try {
        SentenciaOdbc s(conexion);
        guardia.AlCancelar([cancelar = s.Cancelador()] { Vigia::Aparte(cancelar); });
        s.Ejecutar(consulta);
        leida = true;
        columnas(s.Nombres());
        const int n = static_cast<int>(s.Nombres().size());
        while (s.Siguiente()) {
            if (cancelada.load(std::memory_order_relaxed))
                return QString();
            for (int i = 0; i < n; ++i)
                s.Celda(i, celdas);
            celdas.FinFila(n);
        }
        celdas.Terminar();
        return QString();
    } catch (const ErrorRm& e) {
        perdida = e.ObtenerCausa() == ErrorRm::Causa::ConexionPerdida;
        return e.Explicada(QString());
    }
}

// Any other engine through its Qt driver.
QString LeerQt(QSqlDatabase& db, const QString& consulta, const Columnas& columnas, CeldasListado& celdas, const std::atomic<bool>& cancelada, bool& perdida, bool& leida)
{
    const auto fallo = [&perdida](const QSqlError& error) {
        const ErrorRm e = ErrorSql::De(error);
        perdida = e.ObtenerCausa() == ErrorRm::Causa::ConexionPerdida;
        return e.Explicada(QString());
    };
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(consulta))
        return fallo(q.lastError());
    leida = true;
    const QSqlRecord registro = q.record();
    QStringList nombres;
    for (int i = 0; i < registro.count(); ++i)
        nombres.append(registro.fieldName(i));
    columnas(nombres);
    const int n = static_cast<int>(nombres.size());
    while (q.next()) {
        if (cancelada.load(std::memory_order_relaxed))
            return QString();
        for (int i = 0; i < n; ++i)
            celdas.Valor(q.value(i));
        celdas.FinFila(n);
    }
    if (q.lastError().isValid())
        return fallo(q.lastError());
    celdas.Terminar();
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
    sesion.Encargar([emisor, consulta, cancelada = m_cancelada, intentos = 0](
                        QSqlDatabase& db, const QString& fallaApertura,
                        SesionLectura::Vigilancia& vigilancia) mutable {
        const auto fin = [emisor](const QString& error) {
            emit emisor->Fin(error);
            delete emisor;
            return false;
        };
        if (cancelada->load())
            return fin(QString());
        if (!fallaApertura.isEmpty())
            return fin(fallaApertura);
        const auto columnas = [emisor](const QStringList& nombres) { emit emisor->Columnas(nombres); };
        CeldasListado celdas(
            [emisor](const QByteArray& texto, const QList<quint32>& fines) { emit emisor->Filas(texto, fines); });
        Vigia::Guardia& guardia = vigilancia.guardia;
        // What the watchdog did says more than the driver's words for it.
        const auto vigilado = [&](const QString& error) {
            if (guardia.Abandonada())
                return ErrorSql::SinRespuesta(vigilancia.limite, false).Explicada(QString());
            if (!error.isEmpty() && guardia.Cancelada())
                return ErrorSql::Cancelada(vigilancia.limite, ErrorRm(error)).Explicada(QString());
            return error;
        };
        if (sqlite3* h = LectorSqlite::Handle(db)) {
            guardia.AlCancelar([h] { sqlite3_interrupt(h); });
            return fin(vigilado(LectorSqlite::Leer(h, consulta, columnas, celdas, *cancelada)));
        }
        // A session lost before the statement ran is opened again once.
        bool perdida = false, leida = false;
        void* odbc = SentenciaOdbc::Handle(db);
        const QString error = odbc ? LeerOdbc(odbc, consulta, columnas, celdas, *cancelada, guardia, perdida, leida)
                                   : LeerQt(db, consulta, columnas, celdas, *cancelada, perdida, leida);
        if (guardia.Abandonada())
            return fin(vigilado(error));
        if (perdida && !leida && ++intentos == 1)
            return true;
        if (perdida)
            db.close();
        return fin(vigilado(error));
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
