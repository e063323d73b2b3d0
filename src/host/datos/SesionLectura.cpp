#include "host/datos/SesionLectura.h"

#include "host/datos/Sesion.h"
#include "host/errores/ErrorRm.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QSqlDatabase>
#include <QThread>

namespace orvinda {

// What the thread owns: only ever touched on it.
struct SesionLectura::Estado
{
    SesionLectura::Ajustes ajustes;
    QString nombre = Sesion::NombreNuevo();
    QStringList apartadas;
};

SesionLectura::SesionLectura(Ajustes ajustes)
    : m_estado(new Estado{std::move(ajustes), Sesion::NombreNuevo(), {}})
    , m_hilo(new QThread())
    , m_contexto(new QObject())
{
    m_hilo->setObjectName(QStringLiteral("orvinda-lectura"));
    m_contexto->moveToThread(m_hilo);
    Estado* estado = m_estado;
    // The session closes where it was opened, and the thread's own objects
    // go with it.
    QObject::connect(
        m_hilo, &QThread::finished, m_contexto,
        [estado] {
            Sesion::Cerrar(estado->nombre);
            Sesion::CerrarApartadas(estado->apartadas);
            delete estado;
        },
        Qt::DirectConnection);
    QObject::connect(m_hilo, &QThread::finished, m_contexto, &QObject::deleteLater, Qt::DirectConnection);
    m_hilo->start();
}

SesionLectura::~SesionLectura()
{
    m_hilo->quit();
    // A read blocked in the server is not waited for: the thread ends with it.
    if (m_hilo->wait(QDeadlineTimer(2000))) {
        delete m_hilo;
        return;
    }
    QObject::connect(m_hilo, &QThread::finished, m_hilo, &QObject::deleteLater);
}

void SesionLectura::Encargar(Trabajo trabajo)
{
    Estado* estado = m_estado;
    QMetaObject::invokeMethod(
        m_contexto,
        [estado, trabajo = std::move(trabajo)] {
            Sesion::CerrarApartadas(estado->apartadas);
            for (int intento = 0; intento < 2; ++intento) {
                QSqlDatabase db = QSqlDatabase::database(estado->nombre, false);
                QString falla;
                if (!db.isOpen()) {
                    db = QSqlDatabase();
                    Sesion::Cerrar(estado->nombre);
                    try {
                        const Ajustes& a = estado->ajustes;
                        db = Sesion::Abrir(estado->nombre, a.destino, a.soloLectura);
                        Sesion::Aplicar(db, Sesion::Limites(a.dialecto, a.esperaBloqueo, a.limiteSentencia));
                    } catch (const ErrorRm& e) {
                        falla = e.Explicada(QString());
                    }
                }
                const int limite = estado->ajustes.limiteSentencia;
                Vigia::Guardia guardia(std::chrono::seconds(limite),
                                       {nullptr, [canal = Sesion::Canal(estado->nombre)] { canal.Cortar(); }});
                Vigilancia vigilancia{guardia, limite};
                const bool otraVez = trabajo(db, falla, vigilancia);
                if (guardia.Abandonada()) {
                    db = QSqlDatabase();
                    Sesion::Apartar(estado->nombre, estado->apartadas);
                    return;
                }
                if (!otraVez || !falla.isEmpty())
                    return;
                // Lost: closed, and opened anew for the second try.
                db.close();
            }
        },
        Qt::QueuedConnection);
}

} // namespace orvinda
