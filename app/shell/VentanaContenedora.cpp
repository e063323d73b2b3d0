#include "shell/VentanaContenedora.h"

#include "host/controles/AjusteVentana.h"

#include <QCloseEvent>
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
    if (!evento->spontaneous())
        AjusteVentana::CaberEnPantalla(*this);
}

void VentanaContenedora::closeEvent(QCloseEvent* evento)
{
    evento->accept();
    emit Cerrada();
}

} // namespace orvinda
