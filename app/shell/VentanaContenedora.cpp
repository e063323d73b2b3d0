#include "shell/VentanaContenedora.h"

#include "host/controles/AjusteVentana.h"

#include <QCloseEvent>
#include <QSettings>
#include <QShowEvent>
#include <QVBoxLayout>

namespace orvinda {

VentanaContenedora::VentanaContenedora(QString transaccion, QWidget* parent)
    : QWidget(parent)
    , m_transaccion(std::move(transaccion))
{
    setObjectName(QStringLiteral("VentanaContenedora"));
    setWindowTitle(QStringLiteral("Orvinda"));
    auto* capa = new QVBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
}

void VentanaContenedora::Alojar(QWidget* pantalla)
{
    layout()->addWidget(pantalla);
    if (!pantalla->windowTitle().isEmpty())
        setWindowTitle(QStringLiteral("Orvinda · %1").arg(pantalla->windowTitle()));
    resize(pantalla->size().expandedTo(pantalla->minimumSizeHint()));
}

QString VentanaContenedora::Transaccion() const
{
    return m_transaccion;
}

void VentanaContenedora::Unload()
{
    close();
}

void VentanaContenedora::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    if (evento->spontaneous())
        return;
    // Where this screen's window was left, the first time it shows; Qt
    // brings a place no screen shows any more back onto one.
    if (!m_restaurada) {
        m_restaurada = true;
        if (restoreGeometry(QSettings().value(ClaveGeometria()).toByteArray()))
            return;
    }
    AjusteVentana::CaberEnPantalla(*this);
}

void VentanaContenedora::closeEvent(QCloseEvent* evento)
{
    QSettings().setValue(ClaveGeometria(), saveGeometry());
    evento->accept();
    emit Cerrada();
}

QString VentanaContenedora::ClaveGeometria() const
{
    return QStringLiteral("Ventanas/%1/Geometria").arg(m_transaccion);
}

} // namespace orvinda
