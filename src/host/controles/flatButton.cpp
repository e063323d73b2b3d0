#include "host/controles/flatButton.h"

#include "host/controles/Twips.h"

#include <QKeyEvent>
#include <QTimer>

#include <cmath>

namespace orvinda {

flatButton::flatButton(QWidget* parent)
    : QPushButton(parent)
{
    setFlat(true);
    setIconsize(m_tamanoIcono);
    connect(this, &QPushButton::clicked, this, &flatButton::Click);
    ActualizarEstilo();
}

flatButton* flatButton::CrearEnDialogo(QWidget* dialogo, const char* nombre, const QString& titulo, int left, int top,
                                       int width, int height)
{
    auto* boton = new flatButton(dialogo);
    boton->setObjectName(QLatin1String(nombre));
    boton->setCaption(titulo);
    boton->setFontname(QStringLiteral("Calibri"));
    boton->setFontsize(9);
    boton->setFontbold(false);
    boton->setFontitalic(false);
    boton->setAutoDefault(false);
    boton->setDefault(false);
    Twips::Mover(boton, left, top, width, height);
    return boton;
}

void flatButton::keyPressEvent(QKeyEvent* evento)
{
    const bool enter = evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter;
    if (enter && (evento->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        evento->accept();
        click();
        return;
    }
    QPushButton::keyPressEvent(evento);
}

Qt::Key flatButton::TeclaAtajo() const
{
    return caption().isEmpty() ? Qt::Key_unknown : static_cast<Qt::Key>(caption().at(0).toUpper().unicode());
}

void flatButton::MostrarAtajo()
{
    setToolTip(caption() + QStringLiteral(" (")
               + QKeySequence(Qt::ALT | TeclaAtajo()).toString(QKeySequence::NativeText) + QLatin1Char(')'));
}

bool flatButton::Atajo(const QKeyEvent& tecla, std::initializer_list<flatButton*> botones)
{
    if ((tecla.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return false;
    for (flatButton* boton : botones)
        if (tecla.key() == boton->TeclaAtajo() && boton->isEnabled()) {
            // A held key presses once: its repeats would decide document
            // after document unseen.
            if (!tecla.isAutoRepeat())
                // Queued: a modal answer must not start inside the key event.
                QTimer::singleShot(0, boton, &QAbstractButton::click);
            return true;
        }
    return false;
}

void flatButton::setFontname(const QString& nombre)
{
    QFont f = font();
    f.setFamilies({nombre});
    setFont(f);
}

void flatButton::setFontsize(double puntos)
{
    if (puntos <= 0)
        return;
    QFont f = font();
    f.setPointSizeF(puntos);
    setFont(f);
}

void flatButton::setFontbold(bool si)
{
    QFont f = font();
    f.setBold(si);
    setFont(f);
}

void flatButton::setFontitalic(bool si)
{
    QFont f = font();
    f.setItalic(si);
    setFont(f);
}

void flatButton::setBackcolor(const QColor& color)
{
    m_fondo = color;
    ActualizarEstilo();
}
void flatButton::setBordercolor(const QColor& color)
{
    m_borde = color;
    ActualizarEstilo();
}
void flatButton::setForecolor(const QColor& color)
{
    m_texto = color;
    ActualizarEstilo();
}
void flatButton::setFocuscolor(const QColor& color)
{
    m_foco = color;
    ActualizarEstilo();
}

void flatButton::setIconsize(int tamano)
{
    m_tamanoIcono = qBound(1, tamano, 3);
    const int lado = 8 + 8 * m_tamanoIcono;
    setIconSize(QSize(lado, lado));
}

double flatButton::Contraste(const QColor& a, const QColor& b)
{
    const auto luminancia = [](const QColor& c) {
        const auto canal = [](int v) {
            const double x = v / 255.0;
            return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * canal(c.red()) + 0.7152 * canal(c.green()) + 0.0722 * canal(c.blue());
    };
    const double la = luminancia(a), lb = luminancia(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor flatButton::TextoEnFoco() const
{
    for (const QColor& c : {m_texto, m_fondo, m_fondo.darker(170)})
        if (Contraste(c, m_foco) >= 4.5)
            return c;
    return Contraste(Qt::black, m_foco) >= Contraste(Qt::white, m_foco) ? QColor(Qt::black) : QColor(Qt::white);
}

void flatButton::ActualizarEstilo()
{
    setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 1px solid %2; color: %3; padding: 2px 6px; }"
                       "QPushButton:focus { background-color: %4; border-color: %4; color: %5; }"
                       "QPushButton:pressed { background-color: %2; color: %3; }"
                       "QPushButton:disabled { color: rgb(200, 200, 200); }")
            .arg(m_fondo.name(), m_borde.name(), m_texto.name(), m_foco.name(), TextoEnFoco().name()));
}

} // namespace orvinda
