#include "host/controles/txtVEX.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>
#include <QValidator>

namespace orvinda {

namespace {

// Upper-cases what is typed or pasted, keeping the cursor where it was.
class ValidadorMayusculas : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        input = input.toUpper();
        pos = qMin(pos, int(input.size()));
        return Acceptable;
    }
};

bool EsMascaraDeDigitos(const QString& formato)
{
    if (!formato.contains(QLatin1Char('0')))
        return false;
    for (QChar c : formato) {
        if (c != QLatin1Char('0') && c != QLatin1Char('#'))
            return false;
    }
    return true;
}

bool SoloDigitos(const QString& texto)
{
    if (texto.isEmpty())
        return false;
    for (QChar c : texto) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

txtVEX::txtVEX(QWidget* parent)
    : QLineEdit(parent)
{
    setAutoFillBackground(true);
    connect(this, &QLineEdit::textChanged, this, &txtVEX::Cambio);
    ActualizarFoco();
    ActualizarFondo();
}

bool txtVEX::event(QEvent* e)
{
    if (e->type() != QEvent::ToolTip || !toolTip().isEmpty())
        return QLineEdit::event(e);
    QStyleOptionFrame opcion;
    initStyleOption(&opcion);
    const int visible = style()->subElementRect(QStyle::SE_LineEditContents, &opcion, this).width();
    if (fontMetrics().horizontalAdvance(displayText()) > visible - 4)
        QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), displayText(), this);
    else
        QToolTip::hideText();
    return true;
}

void txtVEX::setTexto(const QString& texto)
{
    setText(m_mayusculas ? texto.toUpper() : texto);
    // A value put in by code is read from its beginning, not its end.
    if (!hasFocus())
        setCursorPosition(0);
}

void txtVEX::setTexto(qint64 numero)
{
    // A number arrives in the field's own format, so that a proposed key
    // reads like the keys typed and looked up by hand ("0005", not "5").
    setTexto(QString::number(numero));
    AplicarFormato();
}

void txtVEX::setValor(const QVariant& valor)
{
    // A stored value is shown as stored, so that saving it again changes
    // nothing; upper-casing is for what is typed.
    const QValidator* mayusculas = validator();
    setValidator(nullptr);
    setText(valor.isNull() ? QString() : valor.toString());
    setValidator(mayusculas);
    if (!hasFocus())
        setCursorPosition(0);
}

void txtVEX::setHabilitado(bool si)
{
    m_habilitado = si;
    setReadOnly(!si);
    ActualizarFoco();
    ActualizarFondo();
}

void txtVEX::AplicarFormato()
{
    if (m_formato.typeId() != QMetaType::QString)
        return;
    const QString formato = m_formato.toString();
    const QString texto = text().trimmed();
    if (!EsMascaraDeDigitos(formato) || !SoloDigitos(texto))
        return;
    QString digitos = texto;
    while (digitos.size() > 1 && digitos.startsWith(QLatin1Char('0')))
        digitos.remove(0, 1);
    setTexto(digitos.rightJustified(formato.count(QLatin1Char('0')), QLatin1Char('0')));
}

void txtVEX::setTabStop(bool si)
{
    m_tabStop = si;
    ActualizarFoco();
}

void txtVEX::setMaxlength(int caracteres)
{
    m_maxlength = qMax(0, caracteres);
    setMaxLength(m_maxlength == 0 ? 32767 : m_maxlength);
}

void txtVEX::setEnabledcolor(const QColor& color)
{
    m_colorHabilitado = color;
    m_colorHabilitadoPropio = true;
    ActualizarFondo();
}

void txtVEX::setDisabledcolor(const QColor& color)
{
    m_colorDeshabilitado = color;
    m_colorDeshabilitadoPropio = true;
    ActualizarFondo();
}

void txtVEX::setFocuscolor(const QColor& color)
{
    m_colorFoco = color;
    m_colorFocoPropio = true;
    ActualizarFondo();
}

void txtVEX::setMayusculas(bool si)
{
    m_mayusculas = si;
    const auto* actual = dynamic_cast<const ValidadorMayusculas*>(validator());
    if (si && !actual) {
        setValidator(new ValidadorMayusculas(this));
        if (text() != text().toUpper())
            setText(text().toUpper());
    } else if (!si && actual) {
        setValidator(nullptr);
        delete actual;
    }
}

void txtVEX::AplicarEsquema(const QColor& habilitado, const QColor& deshabilitado, const QColor& foco,
                            double tamanoFuente)
{
    if (!m_colorHabilitadoPropio)
        m_colorHabilitado = habilitado;
    if (!m_colorDeshabilitadoPropio)
        m_colorDeshabilitado = deshabilitado;
    if (!m_colorFocoPropio)
        m_colorFoco = foco;
    if (tamanoFuente > 0) {
        QFont f = font();
        f.setPointSizeF(tamanoFuente);
        setFont(f);
    }
    ActualizarFondo();
}

void txtVEX::keyPressEvent(QKeyEvent* e)
{
    const bool esEnter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const auto mods = e->modifiers() & ~Qt::KeypadModifier;
    if (!esEnter || mods != Qt::NoModifier) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    e->accept();
    emit Enter();
    if (m_tabOnEnter)
        focusNextPrevChild(true);
}

void txtVEX::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    ActualizarFondo();
}

void txtVEX::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    ActualizarFondo();
}

void txtVEX::ActualizarFondo()
{
    QColor fondo = m_colorDeshabilitado;
    if (m_habilitado)
        fondo = hasFocus() ? m_colorFoco : m_colorHabilitado;
    QPalette p = palette();
    p.setColor(QPalette::Base, fondo);
    p.setColor(QPalette::Window, fondo);
    setPalette(p);
}

void txtVEX::ActualizarFoco()
{
    // A read-only field is skipped by Tab and by Enter's move to the next field.
    if (!m_habilitado)
        setFocusPolicy(Qt::ClickFocus);
    else
        setFocusPolicy(m_tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace orvinda
