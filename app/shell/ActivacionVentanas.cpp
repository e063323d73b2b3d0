#include "shell/ActivacionVentanas.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace orvinda {

namespace {

// A request made before the window is on screen is lost: asked again while
// it shows and stays inactive, for about a second.
constexpr int IntervaloMs = 25;
constexpr int Intentos = 40;

} // namespace

ActivacionVentanas::ActivacionVentanas(QObject* parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool ActivacionVentanas::eventFilter(QObject* objeto, QEvent* evento)
{
    const QEvent::Type tipoEvento = evento->type();
    if ((tipoEvento != QEvent::Show && tipoEvento != QEvent::Hide) || !objeto->isWidgetType())
        return QObject::eventFilter(objeto, evento);
    auto* w = static_cast<QWidget*>(objeto);
    const Qt::WindowType tipo = w->windowType();
    if (!w->isWindow() || (tipo != Qt::Window && tipo != Qt::Dialog))
        return QObject::eventFilter(objeto, evento);
    if (tipoEvento == QEvent::Show) {
        if (!w->testAttribute(Qt::WA_ShowWithoutActivating))
            Activar(w);
    } else {
        // A closed dialog hands the keys back to the dialog still open, or
        // to the window it came from; a bare X server gives them to no one.
        QWidget* siguiente = QApplication::activeModalWidget();
        if (!siguiente && w->parentWidget())
            siguiente = w->parentWidget()->window();
        if (siguiente && siguiente != w)
            Activar(siguiente);
    }
    return QObject::eventFilter(objeto, evento);
}

void ActivacionVentanas::Activar(QWidget* ventana)
{
    auto* reloj = new QTimer(ventana);
    reloj->setInterval(IntervaloMs);
    QPointer<QWidget> w(ventana);
    const quint64 pedido = ++m_pedidos;
    connect(reloj, &QTimer::timeout, reloj, [this, reloj, w, pedido, vueltas = 0]() mutable {
        if (!w || pedido != m_pedidos || !w->isVisible() || w->isActiveWindow() || ++vueltas > Intentos) {
            reloj->deleteLater();
            return;
        }
        if (w->windowHandle() && w->windowHandle()->isExposed())
            w->activateWindow();
    });
    reloj->start();
}

} // namespace orvinda
