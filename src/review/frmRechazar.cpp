#include "review/frmRechazar.h"

#include "config/Parametros.h"
#include "host/bitacora/RegistroBitacora.h"
#include "host/controles/Twips.h"
#include "host/controles/WebBrowser.h"
#include "host/controles/colorVEX.h"
#include "host/controles/flatButton.h"
#include "host/datos/Conexion.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "marcadores/Marcadores.h"
#include "marcadores/MarcadoresSql.h"
#include "publico/FormaUnica.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/AnotacionDecision.h"
#include "review/SentenciaDeRevision.h"

#include <QCloseEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>

using orvinda::ErrorRm;
using orvinda::Twips;

namespace rm640 {

frmRechazar& frmRechazar::Load(QWidget* propietario)
{
    frmRechazar& forma = FormaUnica<frmRechazar>::Obtener([propietario] { return new frmRechazar(propietario); });
    if (!forma.m_formaCargada)
        forma.Form_Load();
    return forma;
}

frmRechazar& frmRechazar::Instancia()
{
    return FormaUnica<frmRechazar>::Obtener([] { return new frmRechazar(nullptr); });
}

bool frmRechazar::ExisteInstancia()
{
    return FormaUnica<frmRechazar>::Existe();
}

void frmRechazar::Unload()
{
    FormaUnica<frmRechazar>::Descargar();
}

frmRechazar::frmRechazar(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRechazar"));
    setWindowTitle(QStringLiteral("Comentario"));
    setFixedSize(Twips::APixeles(AnchoDiseno), Twips::APixeles(AltoDiseno));
    QPalette fondo = palette();
    fondo.setColor(QPalette::Window, QColor(245, 245, 245));
    setPalette(fondo);
    setAutoFillBackground(true);

    m_txtComentario = new QPlainTextEdit(this);
    m_txtComentario->setObjectName(QStringLiteral("txtComentario"));
    m_txtComentario->setAccessibleName(QStringLiteral("Comentario del rechazo"));
    // Long comments wrap at the box's edge and scroll; Tab moves on, as in
    // any other text box of the shell.
    m_txtComentario->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_txtComentario->setTabChangesFocus(true);
    m_txtComentario->setPlaceholderText(
        QStringLiteral("Escriba por qué se rechaza el documento. Sin comentario no se puede rechazar."));
    Twips::Mover(m_txtComentario, 120, 120, 6495, 3375);

    // Named, and said to be required, before Aceptar is pressed; beside the
    // buttons, so that every designed control keeps its place.
    m_lblComentario = new QLabel(QStringLiteral("&Motivo del rechazo (obligatorio)"), this);
    m_lblComentario->setObjectName(QStringLiteral("lblComentario"));
    m_lblComentario->setBuddy(m_txtComentario);
    m_lblComentario->setWordWrap(true);
    m_lblComentario->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Twips::Mover(m_lblComentario, 120, 3600, 3120, 375);
    m_txtComentario->setAccessibleDescription(QStringLiteral("Obligatorio"));

    m_cmdAceptar
        = orvinda::flatButton::CrearEnDialogo(this, "cmdAceptar", QStringLiteral("Aceptar"), 3360, 3600, 1575, 375);
    m_cmdCancelar
        = orvinda::flatButton::CrearEnDialogo(this, "cmdCacelar", QStringLiteral("Cancelar"), 5040, 3600, 1575, 375);
    connect(m_cmdAceptar, &orvinda::flatButton::Click, this, &frmRechazar::cmdAceptar_Click);
    connect(m_cmdCancelar, &orvinda::flatButton::Click, this, &frmRechazar::cmdCancelar_Click);

    m_colorVEX1 = new orvinda::colorVEX(this);
    m_colorVEX1->setObjectName(QStringLiteral("colorVEX1"));

    m_cmdAceptar->MostrarAtajo();
    m_cmdCancelar->MostrarAtajo();
    m_txtComentario->installEventFilter(this);

    setTabOrder(m_txtComentario, m_cmdAceptar);
    setTabOrder(m_cmdAceptar, m_cmdCancelar);
}

frmRechazar::~frmRechazar() = default;

void frmRechazar::setFolio(const QString& valor)
{
    m_folio = valor;
    setWindowTitle(valor.isEmpty() ? QStringLiteral("Comentario") : QStringLiteral("Comentario — ") + valor);
}

void frmRechazar::setComentario(const QString& texto)
{
    m_txtComentario->setPlainText(texto);
    m_txtComentario->moveCursor(QTextCursor::End);
}

QString frmRechazar::ComentarioEnPagina(orvinda::WebBrowser& pagina)
{
    QString comentario;
    Trampa::Intentar([&] {
        const QString campo = Parametros::Leer(Publico::Sistema->ObtenerConexion(), Parametros::CampoComentarioRechazo)
                                  .value_or(QString())
                                  .trimmed();
        const QByteArray nombre = QJsonDocument(QJsonArray{campo}).toJson(QJsonDocument::Compact);
        const QString guion
            = QStringLiteral(
                  "(function (n) { var e = null;"
                  "  if (n) { var h = Array.prototype.filter.call(document.querySelectorAll('*'), function (x) {"
                  "    return x.id === n || x.getAttribute('name') === n; }); if (h.length === 1) e = h[0]; }"
                  "  if (!e) { var t = document.querySelectorAll('textarea'); if (t.length === 1) e = t[0]; }"
                  "  if (!e) return '';"
                  "  var v = /^(INPUT|TEXTAREA|SELECT)$/.test(e.tagName) ? e.value : e.textContent;"
                  "  return v === null || v === undefined ? '' : String(v); })(%1);")
                  .arg(QString::fromUtf8(nombre.mid(1, nombre.size() - 2)));
        comentario = pagina.EjecutarSincrono(guion, QStringLiteral("el comentario")).toString();
    });
    return comentario;
}

void frmRechazar::Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& id)
{
    Trampa::Mostrar(this, mensaje, estilo, titulo, id);
}

void frmRechazar::Form_Load()
{
    m_formaCargada = true;
    m_colorVEX1->AplicarColores();
    m_procesado = false;
}

void frmRechazar::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!m_formaCargada)
        Trampa::Atrapar(*this, QStringLiteral("Form_Load()"), QStringLiteral("ERR-ID:7500056"),
                        [this] { Form_Load(); });
}

void frmRechazar::closeEvent(QCloseEvent* evento)
{
    // Hidden, not destroyed: the caller still reads Procesado.
    m_procesado = false;
    hide();
    evento->ignore();
}

void frmRechazar::keyPressEvent(QKeyEvent* evento)
{
    if (orvinda::flatButton::Atajo(*evento, {m_cmdAceptar, m_cmdCancelar})) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

bool frmRechazar::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == m_txtComentario && evento->type() == QEvent::KeyPress
        && orvinda::flatButton::Atajo(*static_cast<QKeyEvent*>(evento), {m_cmdAceptar, m_cmdCancelar}))
        return true;
    return QDialog::eventFilter(objeto, evento);
}

void frmRechazar::reject()
{
    cmdCancelar_Click();
}

void frmRechazar::cmdCancelar_Click()
{
    m_procesado = false;
    hide();
}

void frmRechazar::cmdAceptar_Click()
{
    Trampa::Atrapar(*this, QStringLiteral("cmdAceptar_Click()"), QStringLiteral("ERR-ID:7500008"), [this] {
        // Only the empty text is missing: a comment of blanks is a comment.
        if (m_txtComentario->toPlainText().isEmpty()) {
            Reportar(QStringLiteral("Se requiere un comentario"), orvinda::Sistema::EstiloInformacion,
                     QStringLiteral("Orvinda"), QStringLiteral("ERR-ID:7500006"));
            m_txtComentario->setFocus();
            return;
        }
        const bool rechazado = EjecutarRechazo(m_clave, m_folio);
        // Another operator got there first: nothing of ours was kept, the
        // comment included.
        if (m_desenlace == SentenciaDeRevision::Desenlace::SinCambios) {
            Reportar(
                QStringLiteral(
                    "El documento %1 ya no está pendiente: otro operador lo procesó antes. No se aplicó ningún cambio.")
                    .arg(m_folio),
                orvinda::Sistema::EstiloInformacion, QStringLiteral("Rechazar"), QStringLiteral("ERR-ID:7500058"));
            m_procesado = true;
            hide();
            return;
        }
        if (!rechazado)
            return;
        m_procesado = true;
        hide();
    });
}

bool frmRechazar::EjecutarRechazo(const QString& Clave, const QString& Folio)
{
    const QString operador = Publico::Sistema->ObtenerOperador();
    const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());

    const auto consulta = [&Clave](MarcadoresSql::Modo modo) {
        QString s;
        s += QStringLiteral(" SELECT ");
        s += QStringLiteral("   Ca_Sql_Rechazar ");
        s += QStringLiteral(" FROM Configuracion_Autorizacion ");
        s += QStringLiteral(" where Ca_Cve_Configuracion_Autorizacion='") + MarcadoresSql::Clave(Clave, modo)
            + QStringLiteral("' ");
        return s;
    };
    const auto expansion = [&](orvinda::Recordset& rs, const MarcadoresSql::Reglas& reglas) -> std::optional<QString> {
        const QString sentencia = MarcadoresSql::ExpandirRechazo(rs.Fields(QStringLiteral("Ca_Sql_Rechazar")).Texto(),
                                                                 Folio, operador, fecha, reglas);
        rs.Close();
        return sentencia;
    };
    const auto reportar = [this](const QString& m, int estilo, const QString& titulo, const QString& id) {
        Reportar(m, estilo, titulo, id);
    };
    // The comment and the log's row are the rejection's: they commit with
    // it, or none does.
    const auto comentar = [&](const QString& sentencia, int filas) {
        QString comentario = m_txtComentario->toPlainText();
        Publico::Utilerias->GuardarComentario(m_tabla, Folio, comentario);
        AnotacionDecision::Anotar({operador, Clave, m_tabla, Folio, orvinda::RegistroBitacora::Rechazo, m_valores,
                                   sentencia, filas, comentario, AnotacionDecision::Origen::Dialogo});
    };
    const SentenciaDeRevision::Resultado r = SentenciaDeRevision::Ejecutar(
        reportar,
        {QStringLiteral("Verifique la configuración del rechazo"), QStringLiteral("Rechazar"),
         QStringLiteral("ERR-ID:7500009"), QStringLiteral("ERR-ID:7500060"), QStringLiteral("El rechazo"),
         QStringLiteral("ERR-ID:7500063")},
        consulta, expansion, comentar);
    m_desenlace = r.desenlace;
    return m_desenlace == SentenciaDeRevision::Desenlace::Confirmada;
}

} // namespace rm640
