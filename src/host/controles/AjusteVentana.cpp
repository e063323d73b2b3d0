#include "host/controles/AjusteVentana.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace orvinda {

void AjusteVentana::CaberEnPantalla(QWidget& ventana)
{
    if (!ventana.isWindow()
        || (ventana.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    // A dialog opens on its owner's screen; any other window on its own.
    QScreen* pantalla = ventana.parentWidget() ? ventana.parentWidget()->window()->screen() : ventana.screen();
    if (!pantalla)
        pantalla = QGuiApplication::primaryScreen();
    if (!pantalla)
        return;
    const QRect zona = pantalla->availableGeometry();
    // The frame the window system draws around the client area, once it is known.
    const QSize marco = (ventana.frameGeometry().size() - ventana.size()).expandedTo(QSize(0, 0));
    const QSize maximo = (zona.size() - marco).expandedTo(QSize(1, 1));
    const QSize tamano = ventana.size().boundedTo(maximo).expandedTo(ventana.minimumSize());
    if (tamano != ventana.size())
        ventana.resize(tamano);
    const QSize exterior = tamano + marco;
    const QPoint esquina = ventana.frameGeometry().topLeft();
    const int x = qMax(zona.left(), qMin(esquina.x(), zona.right() + 1 - exterior.width()));
    const int y = qMax(zona.top(), qMin(esquina.y(), zona.bottom() + 1 - exterior.height()));
    if (QPoint(x, y) != esquina)
        ventana.move(x, y);
}

} // namespace orvinda
