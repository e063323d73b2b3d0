#include "servicios/Mensajero.h"

#include "host/datos/Secretos.h"
#include "host/servicios/Sistema.h"
#include "servicios/Traza.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace orvinda {

namespace {

// Low bits of the style: the buttons; next bits: the icon.
constexpr qint32 MascaraBotones = 0x0F;
constexpr qint32 MascaraIcono = 0xF0;
// What a window's title bar takes besides its title: icon, buttons, margins.
constexpr int EspacioBarraTitulo = 160;

QMessageBox::Icon Icono(qint32 estilo)
{
    switch (estilo & MascaraIcono) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

Mensajero::Mensajero(Traza* traza, bool desatendido)
    : m_traza(traza)
    , m_desatendido(desatendido)
{
}

int Mensajero::RespuestaSinUsuario(qint32 estilo)
{
    switch (estilo & MascaraBotones) {
    case 1: return 2; // OK/Cancel: Cancel
    case 2: return 3; // Abort/Retry/Ignore: Abort
    case 3:
    case 4: return 7; // Yes/No(/Cancel): No
    case 5: return 2; // Retry/Cancel: Cancel
    default: return 1; // OK
    }
}

int Mensajero::Mostrar(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana,
                       const QString& modulo, const QString& idError, qsizetype graves)
{
    return Presentar(mensaje, estilo, titulo, ventana, modulo, idError, 0, RespuestaSinUsuario(estilo), graves);
}

int Mensajero::Preguntar(const QString& mensaje, const QString& titulo, QWidget* ventana, const QString& modulo,
                         const QString& idError, int predeterminada, int desatendida)
{
    return Presentar(mensaje, Sistema::EstiloPregunta, titulo, ventana, modulo, idError, predeterminada, desatendida);
}

int Mensajero::Presentar(const QString& mensajeDado, qint32 estilo, const QString& tituloDado, QWidget* ventana,
                         const QString& modulo, const QString& idError, int predeterminada, int desatendida,
                         qsizetype graves)
{
    const QString mensaje = Secretos::Ocultar(mensajeDado);
    const QString titulo = Secretos::Ocultar(tituloDado);
    if (m_traza)
        m_traza->Mensaje(mensaje, estilo, titulo, modulo, idError);
    if (m_desatendido)
        return desatendida;

    QMessageBox caja(Icono(estilo), titulo, mensaje, QMessageBox::NoButton, ventana);
    if (graves > 0) {
        const auto html
            = [](const QString& texto) { return texto.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")); };
        caja.setTextFormat(Qt::RichText);
        caja.setText(QStringLiteral("<span style=\"color: %1\">%2</span>%3")
                         .arg(ColorGrave.name(), html(Secretos::Ocultar(mensajeDado.left(graves))),
                              html(Secretos::Ocultar(mensajeDado.mid(graves)))));
    }
    caja.setInformativeText(QStringLiteral("Módulo %1 · %2").arg(modulo, idError));
    struct Boton
    {
        QMessageBox::StandardButton boton;
        int numero;
    };
    QList<Boton> botones;
    switch (estilo & MascaraBotones) {
    case 1: botones = {{QMessageBox::Ok, 1}, {QMessageBox::Cancel, 2}}; break;
    case 2: botones = {{QMessageBox::Abort, 3}, {QMessageBox::Retry, 4}, {QMessageBox::Ignore, 5}}; break;
    case 3: botones = {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}, {QMessageBox::Cancel, 2}}; break;
    case 4: botones = {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}}; break;
    case 5: botones = {{QMessageBox::Retry, 4}, {QMessageBox::Cancel, 2}}; break;
    default: botones = {{QMessageBox::Ok, 1}}; break;
    }
    for (const Boton& b : botones) {
        QPushButton* p = caja.addButton(b.boton);
        if (b.boton == QMessageBox::Yes)
            p->setText(QStringLiteral("&Sí"));
        else if (b.boton == QMessageBox::No)
            p->setText(QStringLiteral("&No"));
        else if (b.boton == QMessageBox::Ok)
            p->setText(QStringLiteral("Aceptar"));
        else if (b.boton == QMessageBox::Cancel)
            p->setText(QStringLiteral("Cancelar"));
        if (b.numero == predeterminada)
            caja.setDefaultButton(p);
    }
    // Last, as the box lays itself out anew on each change of its parts.
    // A short message makes a narrow box, and the window's title bar then
    // cuts its title ("Autor…nados"): the box is at least as wide as the
    // title in bold plus room for the bar's own buttons.
    if (auto* rejilla = qobject_cast<QGridLayout*>(caja.layout())) {
        QFont negrita = caja.font();
        negrita.setBold(true);
        const int ancho = QFontMetrics(negrita).horizontalAdvance(titulo) + EspacioBarraTitulo;
        rejilla->addItem(new QSpacerItem(ancho, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), rejilla->rowCount(), 0, 1,
                         rejilla->columnCount());
    }
    caja.exec();
    const auto pulsado = caja.standardButton(caja.clickedButton());
    for (const Boton& b : botones)
        if (b.boton == pulsado)
            return b.numero;
    return RespuestaSinUsuario(estilo);
}

} // namespace orvinda
