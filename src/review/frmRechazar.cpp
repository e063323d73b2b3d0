#include "review/frmRechazar.h"

#include "config/Marcadores.h"
#include "host/controles/Twips.h"
#include "host/controles/colorVEX.h"
#include "host/controles/flatButton.h"
#include "host/datos/Conexion.h"
#include "host/datos/ErrorRm.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "review/frmAutorizacion.h"
#include "shell/FormaUnica.h"
#include "shell/Publico.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPointer>

using orvinda::ErrorRm;
using orvinda::Twips;

namespace rm640 {

namespace {

const QString Modulo = QStringLiteral("RM640");

} // namespace

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
    // Long comments wrap at the box's edge and scroll; Tab moves on, as in
    // any other text box of the shell.
    m_txtComentario->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_txtComentario->setTabChangesFocus(true);
    Twips::Mover(m_txtComentario, 120, 120, 6495, 3375);

    m_cmdAceptar = new orvinda::flatButton(this);
    m_cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    frmAutorizacion::DisenarBoton(*m_cmdAceptar, QStringLiteral("Aceptar"));
    Twips::Mover(m_cmdAceptar, 3360, 3600, 1575, 375);
    m_cmdCacelar = new orvinda::flatButton(this);
    m_cmdCacelar->setObjectName(QStringLiteral("cmdCacelar"));
    frmAutorizacion::DisenarBoton(*m_cmdCacelar, QStringLiteral("Cancelar"));
    Twips::Mover(m_cmdCacelar, 5040, 3600, 1575, 375);
    connect(m_cmdAceptar, &orvinda::flatButton::Click, this, &frmRechazar::cmdAceptar_Click);
    connect(m_cmdCacelar, &orvinda::flatButton::Click, this, &frmRechazar::cmdCacelar_Click);

    m_colorVEX1 = new orvinda::colorVEX(this);
    m_colorVEX1->setObjectName(QStringLiteral("colorVEX1"));
    m_colorVEX1->setBackcolor(QColor(245, 245, 245));

    setTabOrder(m_txtComentario, m_cmdAceptar);
    setTabOrder(m_cmdAceptar, m_cmdCacelar);
}

frmRechazar::~frmRechazar() = default;

void frmRechazar::Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& id)
{
    Publico::Sistema->MostrarMensaje(mensaje, estilo, titulo, this, Modulo, id);
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
    if (!m_formaCargada) {
        try {
            Form_Load();
        } catch (const ErrorRm& e) {
            Reportar(e.Descripcion(), orvinda::Sistema::EstiloError, QStringLiteral("Form_Load()"), QStringLiteral("ERR-ID:7500056"));
        }
    }
}

void frmRechazar::closeEvent(QCloseEvent* evento)
{
    // Hidden, not destroyed: the caller still reads Procesado.
    m_procesado = false;
    hide();
    evento->ignore();
}

void frmRechazar::reject()
{
    cmdCacelar_Click();
}

void frmRechazar::cmdCacelar_Click()
{
    m_procesado = false;
    hide();
}

void frmRechazar::cmdAceptar_Click()
{
    try {
        // Only the empty text is missing: a comment of blanks is a comment.
        if (m_txtComentario->toPlainText().isEmpty()) {
            Reportar(QStringLiteral("Se requiere un comentario"), orvinda::Sistema::EstiloInformacion,
                     QStringLiteral("Orvinda"), QStringLiteral("ERR-ID:7500006"));
            m_txtComentario->setFocus();
            return;
        }
        if (!EjecutarRechazo(m_clave, m_folio))
            return;
        // Another operator got there first: no rejection of ours to comment.
        if (m_sinCambios) {
            Reportar(QStringLiteral("El documento %1 ya no está pendiente: otro operador lo procesó antes. No se aplicó ningún cambio.").arg(m_folio),
                     orvinda::Sistema::EstiloInformacion, QStringLiteral("Rechazar"), QStringLiteral("ERR-ID:7500058"));
            m_procesado = true;
            hide();
            return;
        }
        QString comentario = m_txtComentario->toPlainText();
        Publico::Utilerias->GuardarComentario(m_tabla, m_folio, comentario);
        m_procesado = true;
        hide();
    } catch (const ErrorRm& e) {
        Reportar(e.Explicada(QString()), orvinda::Sistema::EstiloError, QStringLiteral("cmdAceptar_Click()"), QStringLiteral("ERR-ID:7500008"));
    } catch (const std::exception& e) {
        Reportar(QString::fromUtf8(e.what()), orvinda::Sistema::EstiloError, QStringLiteral("cmdAceptar_Click()"), QStringLiteral("ERR-ID:7500008"));
    }
}

bool frmRechazar::EjecutarRechazo(const QString& Clave, const QString& Folio)
{
    const QString operador = Publico::Sistema->ObtenerOperador();
    const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());

    bool resultado = false;
    try {
        Publico::Sistema->ObtenerConexion().BeginTrans();

        Publico::CadenaSql = QString();
        Publico::CadenaSql += QStringLiteral(" SELECT ");
        Publico::CadenaSql += QStringLiteral("   Ca_Sql_Rechazar ");
        Publico::CadenaSql += QStringLiteral(" FROM Configuracion_Autorizacion ");
        Publico::CadenaSql += QStringLiteral(" where Ca_Cve_Configuracion_Autorizacion='") + Clave + QStringLiteral("' ");
        orvinda::Recordset rs = Publico::Sistema->ObtenerConexion().Execute(Publico::CadenaSql);
        if (rs.Eof()) {
            rs.Close();
            Publico::Sistema->ObtenerConexion().RollbackTrans();
            return false;
        }

        const QString sentencia = Marcadores::ExpandirRechazo(rs.Fields(QStringLiteral("Ca_Sql_Rechazar")).Texto(),
                                                              Folio, operador, fecha);
        rs.Close();
        orvinda::Conexion& conexion = Publico::Sistema->ObtenerConexion();
        conexion.Execute(sentencia);
        m_sinCambios = conexion.RegistrosAfectados() == 0;
        Publico::Sistema->ObtenerConexion().CommitTrans();
        resultado = true;
    } catch (const ErrorRm& e) {
        Publico::DeshacerTransaccion();
        Reportar(e.Explicada(QStringLiteral("Verifique la configuración del rechazo")),
                 orvinda::Sistema::EstiloError, QStringLiteral("Rechazar"), QStringLiteral("ERR-ID:7500009"));
        resultado = false;
    } catch (const std::exception& e) {
        Publico::DeshacerTransaccion();
        Reportar(QStringLiteral("Verifique la configuración del rechazo\r\n") + QString::fromUtf8(e.what()),
                 orvinda::Sistema::EstiloError, QStringLiteral("Rechazar"), QStringLiteral("ERR-ID:7500009"));
        resultado = false;
    }
    return resultado;
}

} // namespace rm640
