#include "host/controles/Shape.h"

#include <QPainter>

namespace orvinda {

Shape::Shape(QWidget* parent)
    : QFrame(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    lower();
}

void Shape::setFillColor(const QColor& color)
{
    m_relleno = color;
    update();
}

void Shape::setBorderColor(const QColor& color)
{
    m_colorBorde = color;
    update();
}

void Shape::setBorderStyle(int estilo)
{
    m_borde = estilo == 0 ? 0 : 1;
    update();
}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    pintor.fillRect(rect(), m_relleno);
    if (m_borde == 1) {
        pintor.setPen(m_colorBorde);
        pintor.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void Shape::showEvent(QShowEvent* e)
{
    lower();
    QFrame::showEvent(e);
}

} // namespace orvinda
