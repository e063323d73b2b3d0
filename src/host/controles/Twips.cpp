#include "host/controles/Twips.h"

#include "host/errores/ErrorRm.h"

#include <QVariant>
#include <QWidget>
#include <cmath>

namespace orvinda {

namespace {

const char* const ClaveLeft = "_twipsLeft";
const char* const ClaveTop = "_twipsTop";
const char* const ClaveWidth = "_twipsWidth";
const char* const ClaveHeight = "_twipsHeight";

// A remembered value counts only while the widget still sits on the pixel it
// produced: once Qt itself moved or resized the widget, the pixels win.
int Leer(const QWidget* w, const char* clave, int pixeles)
{
    const QVariant v = w->property(clave);
    if (v.isValid() && Twips::APixeles(v.toInt()) == pixeles)
        return v.toInt();
    return Twips::DesdePixeles(pixeles);
}

void ComprobarTamano(int twips)
{
    if (twips < 0)
        throw ErrorRm(QStringLiteral("Valor de propiedad no válido"), 380);
}

} // namespace

int Twips::APixeles(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / PorPixel));
}

int Twips::DesdePixeles(int pixeles)
{
    return pixeles * PorPixel;
}

int Twips::Left(const QWidget* w)
{
    return Leer(w, ClaveLeft, w->x());
}
int Twips::Top(const QWidget* w)
{
    return Leer(w, ClaveTop, w->y());
}
int Twips::Width(const QWidget* w)
{
    return Leer(w, ClaveWidth, w->width());
}
int Twips::Height(const QWidget* w)
{
    return Leer(w, ClaveHeight, w->height());
}

void Twips::SetLeft(QWidget* w, int twips)
{
    w->move(APixeles(twips), w->y());
    w->setProperty(ClaveLeft, twips);
}

void Twips::SetTop(QWidget* w, int twips)
{
    w->move(w->x(), APixeles(twips));
    w->setProperty(ClaveTop, twips);
}

void Twips::SetWidth(QWidget* w, int twips)
{
    ComprobarTamano(twips);
    w->resize(APixeles(twips), w->height());
    w->setProperty(ClaveWidth, twips);
}

void Twips::SetHeight(QWidget* w, int twips)
{
    ComprobarTamano(twips);
    w->resize(w->width(), APixeles(twips));
    w->setProperty(ClaveHeight, twips);
}

void Twips::Mover(QWidget* w, int left, int top, int width, int height)
{
    ComprobarTamano(width);
    ComprobarTamano(height);
    w->setGeometry(APixeles(left), APixeles(top), APixeles(width), APixeles(height));
    w->setProperty(ClaveLeft, left);
    w->setProperty(ClaveTop, top);
    w->setProperty(ClaveWidth, width);
    w->setProperty(ClaveHeight, height);
}

} // namespace orvinda
