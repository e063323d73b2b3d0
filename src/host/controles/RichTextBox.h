#pragma once

#include <QColor>
#include <QPlainTextEdit>

namespace orvinda {

// Multi-line plain-text field (pasted rich text arrives as plain text).
// Text gives back every character it was given: no-break spaces stay, and
// line breaks keep the form the text arrived with.
//
// Tab moves the focus when some other control of the window is a tab stop,
// and types a tab character when none is.
// A form that wants Tab to stay inside the field therefore clears the other
// controls' TabStop while the field has the focus (GotFocus) and restores
// them on LostFocus.
class RichTextBox : public QPlainTextEdit
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(double FontSize READ FontSize WRITE setFontSize)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)

public:
    explicit RichTextBox(QWidget* parent = nullptr);

    QString Text() const;
    void setText(const QString& texto);
    // A column value as it comes; NULL cannot become text and throws ErrorRm.
    void setValor(const QVariant& valor);

    // Enabled as the forms know it. A closed box takes no input, yet its text
    // can still be selected and copied; its background tells it is closed.
    bool isEnabled() const { return m_abierta; }
    void setEnabled(bool si);

    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool si);
    QString FontName() const { return font().family(); }
    void setFontName(const QString& nombre);
    double FontSize() const { return font().pointSizeF(); }
    void setFontSize(double puntos);
    bool FontBold() const { return font().bold(); }
    void setFontBold(bool si);

    // Backgrounds of the enabled and the disabled field (colour scheme).
    void AplicarEsquema(const QColor& habilitado, const QColor& deshabilitado);

signals:
    void GotFocus();
    void LostFocus();

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    bool HayOtraParadaDeTabulador() const;
    void ActualizarFondo();

    // The text last given and the document it made: while the document is
    // still that one, Text is the given text exactly.
    QString m_texto;
    QString m_documento;
    QString m_salto = QStringLiteral("\n");
    bool m_tabStop = true;
    bool m_abierta = true;
    QColor m_colorHabilitado{255, 255, 255};
    QColor m_colorDeshabilitado{224, 224, 224};
};

} // namespace orvinda
