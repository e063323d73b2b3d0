#include "host/controles/RichTextBox.h"

#include "host/errores/ErrorRm.h"

#include <QKeyEvent>

namespace orvinda {

RichTextBox::RichTextBox(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // A closed statement box is still there to be read: only its background
    // tells that it takes no input.
    QPalette p = palette();
    p.setColor(QPalette::Disabled, QPalette::Text, p.color(QPalette::Active, QPalette::Text));
    setPalette(p);
    ActualizarFondo();
}

QString RichTextBox::Text() const
{
    // toPlainText would turn no-break spaces into blanks; the raw text keeps
    // them and marks each line break with a paragraph separator.
    QString texto = document()->toRawText();
    if (texto == m_documento)
        return m_texto;
    texto.replace(QChar::ParagraphSeparator, m_salto);
    return texto;
}

void RichTextBox::setText(const QString& texto)
{
    setPlainText(texto);
    m_texto = texto;
    m_documento = document()->toRawText();
    // The document keeps no CR: lines typed later end as the text's own do.
    m_salto = texto.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
}

void RichTextBox::setValor(const QVariant& valor)
{
    if (valor.isNull())
        throw ErrorRm::UsoNoValidoDeNull();
    setText(valor.toString());
}

void RichTextBox::setEnabled(bool si)
{
    m_abierta = si;
    setReadOnly(!si);
    setTextInteractionFlags(si ? Qt::TextEditorInteraction : Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    ActualizarFondo();
}

void RichTextBox::setTabStop(bool si)
{
    m_tabStop = si;
    setFocusPolicy(si ? Qt::StrongFocus : Qt::ClickFocus);
}

void RichTextBox::setFontName(const QString& nombre)
{
    QFont f = font();
    f.setFamilies({nombre});
    setFont(f);
}

void RichTextBox::setFontSize(double puntos)
{
    if (puntos <= 0)
        return;
    QFont f = font();
    f.setPointSizeF(puntos);
    setFont(f);
}

void RichTextBox::setFontBold(bool si)
{
    QFont f = font();
    f.setBold(si);
    setFont(f);
}

void RichTextBox::AplicarEsquema(const QColor& habilitado, const QColor& deshabilitado)
{
    m_colorHabilitado = habilitado;
    m_colorDeshabilitado = deshabilitado;
    ActualizarFondo();
}

bool RichTextBox::focusNextPrevChild(bool next)
{
    if (HayOtraParadaDeTabulador())
        return QWidget::focusNextPrevChild(next);
    // Nowhere to go: let keyPressEvent take the key into the text.
    return false;
}

void RichTextBox::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Backtab || (e->key() == Qt::Key_Tab && (e->modifiers() & Qt::ShiftModifier))) {
        // No tab stop to go back to; a backwards tab types nothing.
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void RichTextBox::focusInEvent(QFocusEvent* e)
{
    QPlainTextEdit::focusInEvent(e);
    emit GotFocus();
}

void RichTextBox::focusOutEvent(QFocusEvent* e)
{
    QPlainTextEdit::focusOutEvent(e);
    emit LostFocus();
}

void RichTextBox::changeEvent(QEvent* e)
{
    QPlainTextEdit::changeEvent(e);
    if (e->type() == QEvent::EnabledChange)
        ActualizarFondo();
}

bool RichTextBox::HayOtraParadaDeTabulador() const
{
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (w->window() != window() || isAncestorOf(w))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isEnabled() && w->isVisible() && !w->focusProxy())
            return true;
    }
    return false;
}

void RichTextBox::ActualizarFondo()
{
    QPalette p = palette();
    const QColor fondo = m_abierta && QWidget::isEnabled() ? m_colorHabilitado : m_colorDeshabilitado;
    p.setColor(QPalette::Active, QPalette::Base, fondo);
    p.setColor(QPalette::Inactive, QPalette::Base, fondo);
    p.setColor(QPalette::Disabled, QPalette::Base, fondo);
    setPalette(p);
    // A style sheet above the box gives the viewport a palette of its own,
    // which the box's no longer reaches.
    viewport()->setPalette(p);
}

} // namespace orvinda
