// The inbox's look back: "Historial" (Ctrl+H) opens the decisions in the
// log; and after every refresh, the authorizations whose printing never
// ended are printed again.
#include "host/controles/Controles.h"
#include "inbox/frmHistorial.h"
#include "inbox/frmRM640.h"
#include "publico/Trampa.h"
#include "review/ReimpresionPendiente.h"

#include <QShortcut>
#include <QToolButton>

namespace rm640 {

void frmRM640::PrepararHistorial()
{
    m_historial = new QToolButton(m_controles);
    m_historial->setObjectName(QStringLiteral("cmdHistorial"));
    m_historial->setText(QStringLiteral("Historial"));
    m_historial->setToolTip(QStringLiteral("Historial de decisiones (Ctrl+H)"));
    m_controles->AgregarAccesorio(m_historial);
    connect(m_historial, &QToolButton::clicked, this, &frmRM640::AbrirHistorial);
    auto* atajo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this, [this] { AbrirHistorial(); });
    atajo->setContext(Qt::WidgetWithChildrenShortcut);
    connect(this, &frmRM640::Llenada, this, [] { ReimpresionPendiente::Reanudar(); });
}

void frmRM640::AbrirHistorial()
{
    Trampa::Atrapar(*this, QStringLiteral("Historial"), QStringLiteral("ERR-ID:7500081"), [this] {
        // A window closed is on its way out: a new one takes its place.
        if (!m_ventanaHistorial || !m_ventanaHistorial->isVisible()) {
            m_ventanaHistorial = new frmHistorial(this);
            m_ventanaHistorial->setAttribute(Qt::WA_DeleteOnClose);
            m_ventanaHistorial->Consultar();
        }
        m_ventanaHistorial->show();
        m_ventanaHistorial->raise();
        m_ventanaHistorial->activateWindow();
    });
}

} // namespace rm640
