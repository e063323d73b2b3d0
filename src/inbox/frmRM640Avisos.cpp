// The inbox told by the server: a NOTIFY on its channel refreshes it as the
// idle refresh does.

#include "inbox/frmRM640.h"

#include "host/datos/AvisosServidor.h"
#include "host/datos/Conexion.h"

#include <QTimer>

namespace rm640 {

namespace {

// Quiet long enough that a refresh does not catch the reviewer mid-gesture;
// a burst of notices within it costs one refresh.
constexpr int QuietudMs = 1500;

} // namespace

bool frmRM640::Escuchando() const
{
    return m_avisos && m_avisos->Escuchando();
}

void frmRM640::Escuchar(orvinda::Conexion& conexion)
{
    if (m_avisos)
        return;
    m_avisos = conexion.Escuchar(CanalAvisos);
    if (!m_avisos)
        return;
    m_aviso = new QTimer(this);
    m_aviso->setObjectName(QStringLiteral("tmrAvisos"));
    m_aviso->setSingleShot(true);
    connect(m_aviso, &QTimer::timeout, this, &frmRM640::AtenderAviso);
    connect(m_avisos.get(), &orvinda::AvisosServidor::Aviso, this, &frmRM640::AlAvisarServidor);
    // A session opened again may have missed notices: read once more.
    connect(m_avisos.get(), &orvinda::AvisosServidor::Escuchado, this, [this, primera = true]() mutable {
        if (!primera)
            AlAvisarServidor();
        primera = false;
    });
    // Any end of an idle refresh, good or bad, answers the notices before it.
    connect(this, &frmRM640::RefrescoEnReposo, this, [this] { m_avisoPendiente = false; });
}

void frmRM640::AlAvisarServidor()
{
    m_avisoPendiente = true;
    if (!m_aviso->isActive())
        m_aviso->start(QuietudMs);
}

void frmRM640::AtenderAviso()
{
    if (!m_avisoPendiente)
        return;
    const qint64 quieto = m_actividad.elapsed();
    if (quieto < QuietudMs) {
        m_aviso->start(static_cast<int>(QuietudMs - quieto));
        return;
    }
    // Not now (a dialog, a fill, a bulk run): asked again shortly.
    if (!RefrescarEnReposo())
        m_aviso->start(QuietudMs);
}

} // namespace rm640
