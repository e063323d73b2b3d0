#include "host/controles/ControlPestanias.h"

#include "host/errores/ErrorRm.h"

#include <QEvent>
#include <QTabBar>

namespace orvinda {

namespace {

const char* const NombreLienzo = "lienzoPestania";

QWidget* LienzoDe(QWidget* pagina)
{
    return pagina ? pagina->findChild<QWidget*>(QLatin1String(NombreLienzo), Qt::FindDirectChildrenOnly) : nullptr;
}

} // namespace

ControlPestanias::ControlPestanias(QWidget* parent)
    : QTabWidget(parent)
{
}

void ControlPestanias::setNumeroPestanias(int pestanias)
{
    if (pestanias < 1)
        throw ErrorRm(QStringLiteral("Valor de propiedad no válido"), 380);
    while (count() < pestanias)
        addTab(new QWidget, QString());
    while (count() > pestanias) {
        QWidget* pagina = widget(count() - 1);
        removeTab(count() - 1);
        delete pagina;
    }
}

QString ControlPestanias::Titulo(int pestania) const
{
    ComprobarIndice(pestania);
    return tabText(pestania);
}

void ControlPestanias::setTitulo(int pestania, const QString& titulo)
{
    ComprobarIndice(pestania);
    setTabText(pestania, titulo);
}

QWidget* ControlPestanias::Pagina(int pestania) const
{
    ComprobarIndice(pestania);
    return LienzoDe(widget(pestania));
}

bool ControlPestanias::TabStop() const
{
    return focusPolicy() & Qt::TabFocus;
}

void ControlPestanias::setTabStop(bool si)
{
    const Qt::FocusPolicy politica = si ? Qt::TabFocus : Qt::NoFocus;
    setFocusPolicy(politica);
    tabBar()->setFocusPolicy(politica);
}

void ControlPestanias::ComprobarIndice(int pestania) const
{
    if (pestania < 0 || pestania >= count())
        throw ErrorRm(QStringLiteral("Valor de propiedad no válido"), 380);
}

bool ControlPestanias::event(QEvent* e)
{
    const bool resultado = QTabWidget::event(e);
    // The tab strip's height can change with its captions or fonts.
    if (e->type() == QEvent::LayoutRequest)
        Recolocar();
    return resultado;
}

void ControlPestanias::resizeEvent(QResizeEvent* e)
{
    QTabWidget::resizeEvent(e);
    Recolocar();
}

void ControlPestanias::showEvent(QShowEvent* e)
{
    QTabWidget::showEvent(e);
    Recolocar();
}

void ControlPestanias::changeEvent(QEvent* e)
{
    QTabWidget::changeEvent(e);
    if (e->type() == QEvent::StyleChange || e->type() == QEvent::FontChange)
        Recolocar();
}

void ControlPestanias::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    QWidget* pagina = widget(index);
    if (pagina && !LienzoDe(pagina)) {
        auto* lienzo = new QWidget(pagina);
        lienzo->setObjectName(QLatin1String(NombreLienzo));
        lienzo->show();
    }
    Recolocar();
}

void ControlPestanias::Recolocar()
{
    for (int i = 0; i < count(); ++i) {
        QWidget* pagina = widget(i);
        if (QWidget* lienzo = LienzoDe(pagina))
            lienzo->setGeometry(QRect(pagina->mapFrom(this, QPoint(0, 0)), size()));
    }
}

} // namespace orvinda
