#include "host/controles/Frame.h"

#include <QPainter>

namespace orvinda {

Frame::Frame(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
}

void Frame::setCaption(const QString& texto)
{
    m_caption = texto;
    update();
}

void Frame::setBorderStyle(int estilo)
{
    m_borde = estilo == 0 ? 0 : 1;
    update();
}

QColor Frame::BackColor() const
{
    return palette().color(QPalette::Window);
}

void Frame::setBackColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

void Frame::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    const QFontMetrics medidas(font());
    // The caption is part of the border: a frame without one shows neither.
    const bool conTitulo = m_borde == 1 && !m_caption.isEmpty();
    const int mitadTexto = conTitulo ? medidas.height() / 2 : 0;
    if (m_borde == 1) {
        pintor.setPen(palette().color(QPalette::Mid));
        pintor.drawRect(rect().adjusted(0, mitadTexto, -1, -1));
    }
    if (conTitulo) {
        const QString texto = medidas.elidedText(m_caption, Qt::ElideRight, qMax(0, width() - 16));
        const QRect zona(6, 0, medidas.horizontalAdvance(texto) + 4, medidas.height());
        pintor.fillRect(zona, palette().color(QPalette::Window));
        pintor.setPen(palette().color(QPalette::WindowText));
        pintor.drawText(zona, Qt::AlignCenter, texto);
    }
}

} // namespace orvinda
