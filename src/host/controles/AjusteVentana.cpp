#include "host/controles/AjusteVentana.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>

namespace orvinda {

namespace {

// How long a window system usually takes to put its frame around a new window.
constexpr int EsperaMarcoMs = 300;
constexpr const char* ReajustePendiente = "orvinda_reajuste_pendiente";

} // namespace

void AjusteVentana::CaberEnPantalla(QWidget& ventana)
{
    if (!ventana.isWindow()
        || (ventana.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    // A window put where it was left opens on the screen there; any other
    // dialog on its owner's screen, any other window on its own.
    QScreen* pantalla
        = ventana.testAttribute(Qt::WA_Moved) ? QGuiApplication::screenAt(ventana.frameGeometry().center()) : nullptr;
    if (!pantalla)
        pantalla = ventana.parentWidget() ? ventana.parentWidget()->window()->screen() : ventana.screen();
    if (!pantalla)
        pantalla = QGuiApplication::primaryScreen();
    if (!pantalla)
        return;
    const QRect zona = pantalla->availableGeometry();
    // The frame the window system draws around the client area, once it is
    // known. Before the window is decorated it reads as none: the title
    // bar's usual height stands in, and the window fits again once the
    // real frame is there.
    QSize marco = (ventana.frameGeometry().size() - ventana.size()).expandedTo(QSize(0, 0));
    const QString plataforma = QGuiApplication::platformName();
    if (marco.isNull() && !(ventana.windowFlags() & Qt::FramelessWindowHint) && plataforma != QLatin1String("offscreen")
        && plataforma != QLatin1String("minimal")) {
        const int borde = ventana.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &ventana);
        marco
            = QSize(2 * borde, ventana.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &ventana) + 2 * borde);
        if (!ventana.property(ReajustePendiente).toBool()) {
            ventana.setProperty(ReajustePendiente, true);
            QTimer::singleShot(EsperaMarcoMs, &ventana, [&ventana] {
                if (ventana.isVisible() && ventana.frameGeometry().size() != ventana.size())
                    CaberEnPantalla(ventana);
                ventana.setProperty(ReajustePendiente, false);
            });
        }
    }
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

void AjusteVentana::TraerAPantalla(QWidget& ventana, int alto)
{
    const QRect rectangulo(ventana.pos(), ventana.size());
    const QRect asidero(rectangulo.topLeft(), QSize(rectangulo.width(), alto));
    QScreen* cercana = nullptr;
    qint64 distancia = -1;
    for (QScreen* pantalla : QGuiApplication::screens()) {
        const QRect zona = pantalla->availableGeometry();
        const QRect visible = zona.intersected(asidero);
        if (visible.width() >= qMin(100, asidero.width()) && visible.height() >= qMin(20, asidero.height()))
            return;
        const qint64 dx = qMax(0, qMax(zona.left() - rectangulo.right(), rectangulo.left() - zona.right()));
        const qint64 dy = qMax(0, qMax(zona.top() - rectangulo.bottom(), rectangulo.top() - zona.bottom()));
        if (distancia < 0 || dx * dx + dy * dy < distancia) {
            distancia = dx * dx + dy * dy;
            cercana = pantalla;
        }
    }
    if (!cercana)
        return;
    const QRect zona = cercana->availableGeometry();
    ventana.move(qMax(zona.left(), qMin(rectangulo.left(), zona.right() + 1 - rectangulo.width())),
                 qMax(zona.top(), qMin(rectangulo.top(), zona.bottom() + 1 - rectangulo.height())));
}

} // namespace orvinda
