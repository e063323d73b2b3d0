#include "host/controles/Etiqueta.h"

namespace orvinda {

Etiqueta::Etiqueta(QWidget* parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void Etiqueta::setFontsize(double puntos)
{
    if (puntos <= 0)
        return;
    QFont f = font();
    f.setPointSizeF(puntos);
    setFont(f);
}

void Etiqueta::setFontbold(bool si)
{
    QFont f = font();
    f.setBold(si);
    setFont(f);
}

QColor Etiqueta::forecolor() const
{
    return palette().color(QPalette::WindowText);
}

void Etiqueta::setForecolor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

QColor Etiqueta::backcolor() const
{
    return palette().color(QPalette::Window);
}

void Etiqueta::setBackcolor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

} // namespace orvinda
