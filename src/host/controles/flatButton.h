#pragma once

#include <QColor>
#include <QPushButton>
#include <initializer_list>

namespace orvinda {

// Flat push button: a filled rectangle with its border, text colour, and a
// different fill while it has the focus.
class flatButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QString fontname READ fontname WRITE setFontname)
    Q_PROPERTY(double fontsize READ fontsize WRITE setFontsize)
    Q_PROPERTY(bool fontbold READ fontbold WRITE setFontbold)
    Q_PROPERTY(bool fontitalic READ fontitalic WRITE setFontitalic)
    Q_PROPERTY(QColor backcolor READ backcolor WRITE setBackcolor)
    Q_PROPERTY(QColor bordercolor READ bordercolor WRITE setBordercolor)
    Q_PROPERTY(QColor forecolor READ forecolor WRITE setForecolor)
    Q_PROPERTY(QColor focuscolor READ focuscolor WRITE setFocuscolor)
    Q_PROPERTY(int iconsize READ iconsize WRITE setIconsize)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    explicit flatButton(QWidget* parent = nullptr);

    // A dialog's button in the shell's usual look: Calibri 9 on the standard
    // colours, placed in twips. Never the dialog's default button: Enter
    // typed into a page or a text box must not press it.
    static flatButton* CrearEnDialogo(QWidget* dialogo, const char* nombre, const QString& titulo, int left, int top,
                                      int width, int height);

    QString caption() const { return text(); }
    void setCaption(const QString& texto) { setText(texto); }
    QString fontname() const { return font().family(); }
    void setFontname(const QString& nombre);
    double fontsize() const { return font().pointSizeF(); }
    void setFontsize(double puntos);
    bool fontbold() const { return font().bold(); }
    void setFontbold(bool si);
    bool fontitalic() const { return font().italic(); }
    void setFontitalic(bool si);
    QColor backcolor() const { return m_fondo; }
    void setBackcolor(const QColor& color);
    QColor bordercolor() const { return m_borde; }
    void setBordercolor(const QColor& color);
    QColor forecolor() const { return m_texto; }
    void setForecolor(const QColor& color);
    QColor focuscolor() const { return m_foco; }
    void setFocuscolor(const QColor& color);
    // 1 small, 2 medium, 3 large: the side of an icon, when one is given.
    int iconsize() const { return m_tamanoIcono; }
    void setIconsize(int tamano);
    // Alt and the caption's first letter: the key that presses the button
    // while its window has the keyboard, shown in its tooltip.
    Qt::Key TeclaAtajo() const;
    void MostrarAtajo();
    // Presses, once the key event is done with, the one of botones whose
    // key tecla is; false when none is.
    static bool Atajo(const QKeyEvent& tecla, std::initializer_list<flatButton*> botones);

    // The text colour while focused: the text colour when it reads on the
    // focus colour (contrast 4.5:1 or more), else the back colour, else a
    // darker shade of it, else black.
    QColor TextoEnFoco() const;
    static double Contraste(const QColor& a, const QColor& b);

    bool TabStop() const { return focusPolicy() & Qt::TabFocus; }
    void setTabStop(bool si) { setFocusPolicy(si ? Qt::StrongFocus : Qt::ClickFocus); }

signals:
    void Click();

protected:
    // Enter presses the button that has the focus, as Space does.
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void ActualizarEstilo();

    QColor m_fondo{0, 83, 138};
    QColor m_borde{0, 83, 138};
    QColor m_texto{255, 255, 255};
    QColor m_foco{255, 172, 117};
    int m_tamanoIcono = 2;
};

} // namespace orvinda
