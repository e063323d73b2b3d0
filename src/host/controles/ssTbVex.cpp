#include "host/controles/ssTbVex.h"

#include <QTabBar>

namespace orvinda {

namespace {

QFont Calibri(double puntos)
{
    QFont f(QStringLiteral("Calibri"));
    f.setPointSizeF(puntos);
    f.setBold(true);
    return f;
}

QString Css(const QFont& f)
{
    return QStringLiteral("font-family: \"%1\"; font-size: %2pt; font-weight: %3; font-style: %4;")
        .arg(f.family())
        .arg(f.pointSizeF())
        .arg(f.bold() ? QStringLiteral("bold") : QStringLiteral("normal"))
        .arg(f.italic() ? QStringLiteral("italic") : QStringLiteral("normal"));
}

} // namespace

ssTbVex::ssTbVex(QWidget* parent)
    : ControlPestanias(parent)
    , m_fuenteActiva(Calibri(9.75))
    , m_fuenteInactiva(Calibri(9))
{
    setDocumentMode(false);
    tabBar()->setDrawBase(false);
    setNumeroPestanias(1);
    ActualizarEstilo();
}

void ssTbVex::setActivetab(qint16 pestania)
{
    ComprobarIndice(pestania);
    setCurrentIndex(pestania);
}

void ssTbVex::setActivetabheight(int pixeles)
{
    m_altura = qMax(1, pixeles);
    ActualizarEstilo();
}
void ssTbVex::setShowfocusrect(bool si)
{
    m_rectanguloFoco = si;
    ActualizarEstilo();
}
void ssTbVex::setActivetabbackcolor(const QColor& color)
{
    m_fondoActiva = color;
    ActualizarEstilo();
}
void ssTbVex::setActivetabforecolor(const QColor& color)
{
    m_textoActiva = color;
    ActualizarEstilo();
}
void ssTbVex::setInactivetabbackcolor(const QColor& color)
{
    m_fondoInactiva = color;
    ActualizarEstilo();
}
void ssTbVex::setInactivetabforecolor(const QColor& color)
{
    m_textoInactiva = color;
    ActualizarEstilo();
}
void ssTbVex::setTabstripbackcolor(const QColor& color)
{
    m_fondoTira = color;
    ActualizarEstilo();
}
void ssTbVex::setActivetabfont(const QFont& fuente)
{
    m_fuenteActiva = fuente;
    ActualizarEstilo();
}
void ssTbVex::setInactivetabfont(const QFont& fuente)
{
    m_fuenteInactiva = fuente;
    ActualizarEstilo();
}

void ssTbVex::ActualizarEstilo()
{
    // Scoped to this control's own strip so that tab controls placed on its
    // pages keep their own look.
    const QString estilo
        = QStringLiteral("orvinda--ssTbVex { background-color: %1; }"
                         "orvinda--ssTbVex > QTabBar::tab { background-color: %2; color: %3; %4 min-height: %5px;"
                         " padding: 0px 12px; margin-right: 2px; border: none; }"
                         "orvinda--ssTbVex > QTabBar::tab:selected { background-color: %6; color: %7; %8 }"
                         "orvinda--ssTbVex > QTabBar::tab:focus { %9 }"
                         "orvinda--ssTbVex::pane { border: 1px solid %2; top: 0px; }")
              .arg(m_fondoTira.name(), m_fondoInactiva.name(), m_textoInactiva.name(), Css(m_fuenteInactiva))
              .arg(m_altura)
              .arg(m_fondoActiva.name(), m_textoActiva.name(), Css(m_fuenteActiva))
              .arg(m_rectanguloFoco ? QStringLiteral("text-decoration: underline;") : QString());
    setStyleSheet(estilo);
}

} // namespace orvinda
