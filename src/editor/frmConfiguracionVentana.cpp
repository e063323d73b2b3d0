// The editor's window: its placement in the per-user settings, its layout
// and its keyboard.

#include "editor/frmConfiguracion.h"

#include "host/controles/AjusteVentana.h"
#include "host/controles/Controles.h"
#include "host/controles/Frame.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/Shape.h"
#include "host/controles/Twips.h"
#include "host/controles/ssTbVex.h"
#include "host/controles/txtVEX.h"
#include "host/errores/ErrorRm.h"
#include "publico/Trampa.h"

#include <QKeyEvent>
#include <QMetaProperty>
#include <QSettings>
#include <QTimer>
#include <cmath>

using orvinda::ErrorRm;
using orvinda::Twips;

namespace rm640 {

namespace {

const QString SeccionAjustes = QStringLiteral("Settings/");

// Types that Tabulador leaves alone; a type name found anywhere in this text counts.
const QString TiposSinTabulador = QStringLiteral("COLORVEX|LABEL|FRAME|ETIQUETA|");

// 0 normal, 1 minimized, 2 maximized, as the placement store counts them.
int EstadoVentana(const QWidget& ventana)
{
    const Qt::WindowStates estado = ventana.windowState();
    if (estado & Qt::WindowMinimized)
        return 1;
    if (estado & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return 2;
    return 0;
}

// A missing entry, or one that is not a number, gives the default.
double LeerNumero(const QString& clave, double omision)
{
    QSettings ajustes(QSettings::NativeFormat, QSettings::UserScope, frmConfiguracion::OrganizacionAjustes(),
                      frmConfiguracion::AplicacionAjustes());
    const QVariant valor = ajustes.value(SeccionAjustes + clave);
    if (!valor.isValid())
        return omision;
    bool ok = false;
    const double numero = valor.toString().trimmed().toDouble(&ok);
    return ok && std::isfinite(numero) ? numero : omision;
}

void Escribir(const QString& clave, const QString& valor)
{
    QSettings ajustes(QSettings::NativeFormat, QSettings::UserScope, frmConfiguracion::OrganizacionAjustes(),
                      frmConfiguracion::AplicacionAjustes());
    ajustes.setValue(SeccionAjustes + clave, valor);
}

QString NombreTipo(const QObject* control)
{
    const QString completo = QString::fromLatin1(control->metaObject()->className());
    return completo.mid(completo.lastIndexOf(QLatin1Char(':')) + 1);
}

bool LeerTabStop(const QObject* control)
{
    const QMetaObject* mo = control->metaObject();
    const int i = mo->indexOfProperty("TabStop");
    if (i < 0)
        throw ErrorRm(QStringLiteral("El objeto no admite esta propiedad o método: TabStop"), 438);
    return mo->property(i).read(control).toBool();
}

void EscribirTabStop(QObject* control, bool si)
{
    const QMetaObject* mo = control->metaObject();
    const int i = mo->indexOfProperty("TabStop");
    if (i < 0 || !mo->property(i).write(control, si))
        throw ErrorRm(QStringLiteral("El objeto no admite esta propiedad o método: TabStop"), 438);
}

// The key codes the window's handlers look at: Escape, the letters and the
// digits, those of the numeric keypad apart (96 to 105).
int CodigoTecla(const QKeyEvent& tecla)
{
    const int k = tecla.key();
    if (k == Qt::Key_Escape)
        return 27;
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return (tecla.modifiers() & Qt::KeypadModifier) ? 96 + (k - Qt::Key_0) : k;
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return k;
    return 0;
}

int MascaraShift(Qt::KeyboardModifiers m)
{
    int mascara = 0;
    if (m & Qt::ShiftModifier)
        mascara |= 1;
    if (m & Qt::ControlModifier)
        mascara |= 2;
    if (m & Qt::AltModifier)
        mascara |= 4;
    // No combination of the original masks: never taken for Alt alone.
    if (m & Qt::MetaModifier)
        mascara |= 8;
    return mascara;
}

// Alt is the window's (its tab digits, the toolbar's accelerators): in a
// field it types and edits nothing, the keypad's digits and Shift's signs
// included. Ctrl+Alt is AltGr where a keyboard needs it for "{" or "@", and
// Alt with a function key stays the window system's (Alt+F4).
bool AltEnUnCampo(const QObject& control, const QKeyEvent& tecla)
{
    const Qt::KeyboardModifiers m = tecla.modifiers();
    if (!(m & Qt::AltModifier) || (m & Qt::ControlModifier))
        return false;
    if (tecla.key() >= Qt::Key_F1 && tecla.key() <= Qt::Key_F35)
        return false;
    return qobject_cast<const orvinda::txtVEX*>(&control) || qobject_cast<const orvinda::RichTextBox*>(&control);
}

} // namespace

// ---------------------------------------------------------------- placement

void frmConfiguracion::RestaurarPosicion()
{
    const double left = LeerNumero(QStringLiteral("Left"), 10);
    const double top = LeerNumero(QStringLiteral("Top"), 10);
    move(Twips::APixeles(static_cast<int>(std::lround(static_cast<float>(left)))),
         Twips::APixeles(static_cast<int>(std::lround(static_cast<float>(top)))));
    const long estado = std::lround(LeerNumero(QStringLiteral("WindowState"), 0));
    switch (estado) {
    case 1: setWindowState(Qt::WindowMinimized); break;
    case 2: setWindowState(Qt::WindowMaximized); break;
    default: setWindowState(Qt::WindowNoState); break;
    }
    // Enough of the title and the toolbar on a screen to take hold of it.
    orvinda::AjusteVentana::TraerAPantalla(*this, Twips::APixeles(960));
}

void frmConfiguracion::Form_QueryUnload()
{
    const int estado = EstadoVentana(*this);
    if (estado != 1 && estado != 2) {
        Trampa::Intentar([this] { Escribir(QStringLiteral("Left"), QString::number(Twips::DesdePixeles(pos().x()))); });
        Trampa::Intentar([this] { Escribir(QStringLiteral("Top"), QString::number(Twips::DesdePixeles(pos().y()))); });
        Trampa::Intentar([this] {
            Escribir(QStringLiteral("Width"), QString::number(Twips::DesdePixeles(frameGeometry().width())));
        });
        Trampa::Intentar([this] {
            Escribir(QStringLiteral("Height"), QString::number(Twips::DesdePixeles(frameGeometry().height())));
        });
    }
    if (estado != 1)
        Trampa::Intentar([estado] { Escribir(QStringLiteral("WindowState"), QString::number(estado)); });
}

// ---------------------------------------------------------------- layout

void frmConfiguracion::resizeEvent(QResizeEvent* evento)
{
    QDialog::resizeEvent(evento);
    Form_Resize();
}

void frmConfiguracion::Form_Resize()
{
    const int ancho = Twips::DesdePixeles(width());
    const int alto = Twips::DesdePixeles(height());
    Trampa::Intentar([&] { Twips::SetWidth(m_ssTab, ancho - 2 * Twips::Left(m_ssTab)); });
    Trampa::Intentar([&] { Twips::SetHeight(m_ssTab, alto - Twips::Top(m_ssTab) - 100); });
    for (int k = 0; k < 6; ++k) {
        Trampa::Intentar([&] { Twips::SetHeight(m_fr[k], Twips::Height(m_ssTab) - Twips::Top(m_fr[k])); });
        Trampa::Intentar([&] { Twips::SetWidth(m_fr[k], Twips::Width(m_ssTab)); });
        Trampa::Intentar([&] { Twips::SetWidth(m_sh0[k], Twips::Width(m_ssTab)); });
    }
    // The statement boxes grow both ways, keeping the margin below them the
    // design leaves in its frame.
    const int margenInferior = AltoDiseno - 1200 - 100 - 360 - 6135;
    for (orvinda::RichTextBox* caja : m_txtProcedimiento) {
        Trampa::Intentar([&] { Twips::SetWidth(caja, Twips::Width(m_sh0[0])); });
        Trampa::Intentar([&] {
            const int frame = Twips::Height(qobject_cast<QWidget*>(caja->parent()));
            Twips::SetHeight(caja, frame - Twips::Top(caja) - margenInferior);
        });
    }
    // The toolbar spans the window, so its last commands stay in sight.
    Trampa::Intentar([&] { Twips::SetWidth(m_controles, ancho); });
    if (m_lblEstado)
        ColocarTaller();
    // "Campos a recuperar:" reaches the right edge of its tab, less the margin
    // the tab control keeps from the window.
    Trampa::Intentar([&] {
        Twips::SetWidth(m_txtCampos1, Twips::Width(m_ssTab) - Twips::Left(m_txtCampos1) - Twips::Left(m_ssTab));
    });
}

// ---------------------------------------------------------------- keyboard

void frmConfiguracion::Tabulador(bool& EnFoco, QWidget& Forma)
{
    QList<QObject*> controles;
    if (auto* editor = qobject_cast<frmConfiguracion*>(&Forma)) {
        controles = editor->Controls();
    } else {
        for (QWidget* w : Forma.findChildren<QWidget*>())
            controles.append(w);
    }
    if (EnFoco)
        m_tabStops = QVector<bool>(controles.size(), false);

    for (int i = 0; i < controles.size(); ++i) {
        QObject* control = controles[i];
        if (TiposSinTabulador.indexOf(NombreTipo(control).toUpper()) >= 0)
            continue;
        if (EnFoco) {
            Trampa::Intentar([&] { m_tabStops[i] = LeerTabStop(control); });
            Trampa::Intentar([&] { EscribirTabStop(control, false); });
        } else {
            Trampa::Intentar([&] {
                if (i >= m_tabStops.size())
                    throw ErrorRm(QStringLiteral("Subíndice fuera del intervalo"), 9);
                EscribirTabStop(control, m_tabStops[i]);
            });
        }
    }
}

void frmConfiguracion::Form_KeyDown(int& KeyCode, int)
{
    if (KeyCode != 27)
        return;
    Guardado = false;
    hide();
    KeyCode = 0;
}

void frmConfiguracion::Form_KeyUp(int& KeyCode, int Shift)
{
    if (Shift != 4)
        return;
    if (KeyCode >= 49 && KeyCode <= 54) {
        m_ssTab->setActivetab(static_cast<qint16>(KeyCode - 49));
        KeyCode = 0;
    }
}

bool frmConfiguracion::eventFilter(QObject* objeto, QEvent* evento)
{
    const QEvent::Type tipo = evento->type();
    if ((tipo != QEvent::KeyPress && tipo != QEvent::KeyRelease) || !objeto->isWidgetType())
        return QDialog::eventFilter(objeto, evento);
    if (static_cast<QWidget*>(objeto)->window() != this)
        return QDialog::eventFilter(objeto, evento);

    const auto* tecla = static_cast<QKeyEvent*>(evento);
    // F2 in the key field lists the configurations that exist.
    if (tecla->key() == Qt::Key_F2 && objeto == m_txtClave && !(tecla->modifiers() & ~Qt::KeypadModifier)) {
        if (tipo == QEvent::KeyPress && !tecla->isAutoRepeat())
            QTimer::singleShot(0, this, &frmConfiguracion::Buscar);
        return true;
    }
    if (tecla->key() == Qt::Key_F9 && !(tecla->modifiers() & ~Qt::KeypadModifier)) {
        if (tipo == QEvent::KeyPress && !tecla->isAutoRepeat())
            QTimer::singleShot(0, this, &frmConfiguracion::Probar);
        return true;
    }
    const int codigoRecibido = CodigoTecla(*tecla);
    int codigo = codigoRecibido;
    const int shift = MascaraShift(tecla->modifiers());
    if (codigo != 0 && tipo == QEvent::KeyPress)
        Trampa::Atrapar(*this, QStringLiteral("Form_KeyDown()"), QStringLiteral("ERR-ID:7500048"),
                        [&] { Form_KeyDown(codigo, shift); });
    else if (codigo != 0)
        Trampa::Atrapar(*this, QStringLiteral("Form_KeyUp()"), QStringLiteral("ERR-ID:7500049"),
                        [&] { Form_KeyUp(codigo, shift); });
    // A key the window acted on goes no further, so no field (nor the
    // dialog's own Escape) acts on it again. Alt with a tab's digit types
    // nothing on its way down either, and already selects its tab there: when
    // both keys are let go at once the digit's key-up may come without Alt.
    if (tipo == QEvent::KeyPress && shift == 4 && codigo >= 49 && codigo <= 54) {
        if (!tecla->isAutoRepeat())
            Trampa::Atrapar(*this, QStringLiteral("Form_KeyUp()"), QStringLiteral("ERR-ID:7500049"),
                            [&] { Form_KeyUp(codigo, shift); });
        return true;
    }
    if (tipo == QEvent::KeyPress && AltEnUnCampo(*objeto, *tecla))
        return true;
    return codigoRecibido != 0 && codigo == 0;
}

} // namespace rm640
