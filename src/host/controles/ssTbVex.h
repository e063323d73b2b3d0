#pragma once

#include "host/controles/ControlPestanias.h"

#include <QColor>
#include <QFont>

namespace orvinda {

// The library's tab container: flat coloured tabs on a light strip, the
// active tab dark with white text.
class ssTbVex : public ControlPestanias
{
    Q_OBJECT
    Q_PROPERTY(qint16 activetab READ activetab WRITE setActivetab)
    Q_PROPERTY(int tabcount READ tabcount WRITE setTabcount)
    Q_PROPERTY(int activetabheight READ activetabheight WRITE setActivetabheight)
    Q_PROPERTY(int tabstyle READ tabstyle WRITE setTabstyle)
    Q_PROPERTY(int tabtheme READ tabtheme WRITE setTabtheme)
    Q_PROPERTY(bool showfocusrect READ showfocusrect WRITE setShowfocusrect)
    Q_PROPERTY(QColor activetabbackcolor READ activetabbackcolor WRITE setActivetabbackcolor)
    Q_PROPERTY(QColor activetabforecolor READ activetabforecolor WRITE setActivetabforecolor)
    Q_PROPERTY(QColor inactivetabbackcolor READ inactivetabbackcolor WRITE setInactivetabbackcolor)
    Q_PROPERTY(QColor inactivetabforecolor READ inactivetabforecolor WRITE setInactivetabforecolor)
    Q_PROPERTY(QColor tabstripbackcolor READ tabstripbackcolor WRITE setTabstripbackcolor)
    Q_PROPERTY(QFont activetabfont READ activetabfont WRITE setActivetabfont)
    Q_PROPERTY(QFont inactivetabfont READ inactivetabfont WRITE setInactivetabfont)

public:
    explicit ssTbVex(QWidget* parent = nullptr);

    qint16 activetab() const { return static_cast<qint16>(currentIndex()); }
    // 0-based; throws ErrorRm out of range.
    void setActivetab(qint16 pestania);
    int tabcount() const { return NumeroPestanias(); }
    void setTabcount(int pestanias) { setNumeroPestanias(pestanias); }
    QString tabcaption(int pestania) const { return Titulo(pestania); }
    void setTabcaption(int pestania, const QString& titulo) { setTitulo(pestania, titulo); }

    // Height of the tab strip in pixels.
    int activetabheight() const { return m_altura; }
    void setActivetabheight(int pixeles);
    int tabstyle() const { return m_estilo; }
    void setTabstyle(int estilo) { m_estilo = estilo; }
    int tabtheme() const { return m_tema; }
    void setTabtheme(int tema) { m_tema = tema; }
    bool showfocusrect() const { return m_rectanguloFoco; }
    void setShowfocusrect(bool si);

    QColor activetabbackcolor() const { return m_fondoActiva; }
    void setActivetabbackcolor(const QColor& color);
    QColor activetabforecolor() const { return m_textoActiva; }
    void setActivetabforecolor(const QColor& color);
    QColor inactivetabbackcolor() const { return m_fondoInactiva; }
    void setInactivetabbackcolor(const QColor& color);
    QColor inactivetabforecolor() const { return m_textoInactiva; }
    void setInactivetabforecolor(const QColor& color);
    QColor tabstripbackcolor() const { return m_fondoTira; }
    void setTabstripbackcolor(const QColor& color);
    QFont activetabfont() const { return m_fuenteActiva; }
    void setActivetabfont(const QFont& fuente);
    QFont inactivetabfont() const { return m_fuenteInactiva; }
    void setInactivetabfont(const QFont& fuente);

private:
    void ActualizarEstilo();

    int m_altura = 21;
    int m_estilo = 1;
    int m_tema = 2;
    bool m_rectanguloFoco = false;
    QColor m_fondoActiva{0, 83, 138};
    QColor m_textoActiva{255, 255, 255};
    QColor m_fondoInactiva{196, 196, 196};
    QColor m_textoInactiva{93, 93, 93};
    QColor m_fondoTira{233, 233, 233};
    QFont m_fuenteActiva;
    QFont m_fuenteInactiva;
};

} // namespace orvinda
