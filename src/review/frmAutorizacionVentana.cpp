// The review dialog's window: its layout at any size, its title, and its
// size, place, maximized state and option kept per user.

#include "review/frmAutorizacion.h"

#include "host/controles/Twips.h"
#include "host/controles/WebBrowser.h"
#include "host/controles/flatButton.h"
#include "publico/Trampa.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

using orvinda::Twips;

namespace rm640 {

namespace {

const QString SeccionAjustes = QStringLiteral("Settings/");

QSettings Ajustes()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orvinda"),
                     QStringLiteral("RM640FORMATO-frmAutorizacion"));
}

// A stored whole number, or nothing when missing or not a number.
std::optional<int> LeerEntero(const QSettings& ajustes, const QString& clave)
{
    bool ok = false;
    const int valor = ajustes.value(SeccionAjustes + clave).toString().trimmed().toInt(&ok);
    return ok ? std::optional<int>(valor) : std::nullopt;
}

} // namespace

void frmAutorizacion::resizeEvent(QResizeEvent* evento)
{
    QDialog::resizeEvent(evento);
    Colocar();
}

void frmAutorizacion::Colocar()
{
    // What the window has beyond its design goes to the document; the
    // buttons keep their places from the bottom right corner, together.
    if (!m_chkAbrirSiguiente)
        return;
    const int dx = qMax(0, Twips::DesdePixeles(width()) - AnchoDiseno);
    const int dy = qMax(0, Twips::DesdePixeles(height()) - AltoDiseno);
    Trampa::Intentar([&] { Twips::Mover(m_webBrowser1, 120, 120, 8535 + dx, 5655 + dy); });
    Trampa::Intentar([&] { Twips::Mover(m_cmdAutorizado, 3000 + dx, 5880 + dy, 1815, 375); });
    Trampa::Intentar([&] { Twips::Mover(m_cmdRechazar, 4920 + dx, 5880 + dy, 1935, 375); });
    Trampa::Intentar([&] { Twips::Mover(m_cmdCancelar, 6960 + dx, 5880 + dy, 1815, 375); });
    // The option stands left of the buttons when its text fits there, and
    // under them, from the left, when the font is wider.
    const int texto = Twips::DesdePixeles(m_chkAbrirSiguiente->sizeHint().width());
    const int libre = 3000 + dx - 240;
    Trampa::Intentar([&] {
        if (texto <= libre)
            Twips::Mover(m_chkAbrirSiguiente, 120, 5880 + dy, libre, 375);
        else
            Twips::Mover(m_chkAbrirSiguiente, 120, 6330 + dy, texto, 300);
    });
}

void frmAutorizacion::setFolio(const QString& valor)
{
    m_folio = valor;
    ActualizarTitulo();
}

void frmAutorizacion::setPosicion(int posicion, int total)
{
    m_posicion = posicion;
    m_total = total;
    ActualizarTitulo();
}

void frmAutorizacion::ActualizarTitulo()
{
    QString titulo = QStringLiteral("Autorización");
    if (!m_folio.isEmpty())
        titulo += QStringLiteral(" — ") + m_folio;
    if (m_total > 0 && m_posicion > 0)
        titulo += QStringLiteral(" (%1 de %2)").arg(m_posicion).arg(m_total);
    setWindowTitle(titulo);
}

void frmAutorizacion::RestaurarVentana()
{
    const QSettings ajustes = Ajustes();
    m_chkAbrirSiguiente->setChecked(LeerEntero(ajustes, QStringLiteral("AbrirSiguiente")).value_or(0) == 1);
    // Size, place, screen and maximized state as they were left; a place no
    // screen shows any more is brought onto one.
    if (restoreGeometry(ajustes.value(SeccionAjustes + QStringLiteral("Geometria")).toByteArray())) {
        return;
    }
    // The first time: the larger of its design and about 60% of the screen
    // it opens on.
    QScreen* pantalla = parentWidget() ? parentWidget()->window()->screen() : screen();
    if (!pantalla)
        pantalla = QGuiApplication::primaryScreen();
    if (pantalla)
        resize((pantalla->availableGeometry().size() * 0.6).expandedTo(minimumSize()));
}

void frmAutorizacion::GuardarVentana()
{
    Ajustes().setValue(SeccionAjustes + QStringLiteral("Geometria"), saveGeometry());
}

void frmAutorizacion::GuardarOpcion()
{
    Ajustes().setValue(SeccionAjustes + QStringLiteral("AbrirSiguiente"), m_chkAbrirSiguiente->isChecked() ? 1 : 0);
}

} // namespace rm640
