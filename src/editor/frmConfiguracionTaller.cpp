// The author's workbench beside the designed controls: the state of the
// record shown, the checks of the configuration and its rehearsal. They sit
// in the free strip between the toolbar and the tabs, displacing nothing.

#include "editor/frmConfiguracion.h"

#include "config/ConfiguracionAutorizacion.h"
#include "editor/Verificacion.h"
#include "editor/frmBuscarConfiguracion.h"
#include "editor/frmEnsayo.h"
#include "host/controles/Controles.h"
#include "host/controles/ListView.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/Twips.h"
#include "host/controles/ssTbVex.h"
#include "host/controles/txtVEX.h"
#include "host/servicios/Sistema.h"
#include "publico/Trampa.h"

#include <QLabel>
#include <QScopeGuard>
#include <QTimer>
#include <QToolButton>

using orvinda::Twips;

namespace rm640 {

namespace {

// The strip between the toolbar (960 high) and the tab control (top 1200).
constexpr int TiraTop = 975;
constexpr int TiraAlto = 210;

QToolButton* Boton(QWidget* padre, const char* nombre, const QString& texto, const QString& ayuda)
{
    auto* b = new QToolButton(padre);
    b->setObjectName(QLatin1String(nombre));
    b->setText(texto);
    b->setToolTip(ayuda);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::TabFocus);
    b->setStyleSheet(QStringLiteral("QToolButton { padding: 0px 6px; color: rgb(0, 83, 138); }"));
    return b;
}

} // namespace

void frmConfiguracion::CrearTaller()
{
    QFont chica = font();
    chica.setPointSizeF(8);
    m_lblEstado = new QLabel(this);
    m_lblEstado->setObjectName(QStringLiteral("lblEstado"));
    m_lblEstado->setFont(chica);
    m_lblAvisos = new QLabel(this);
    m_lblAvisos->setObjectName(QStringLiteral("lblAvisos"));
    m_lblAvisos->setFont(chica);
    m_cmdVerificar = Boton(this, "cmdVerificar", QStringLiteral("Verificar"),
                           QStringLiteral("Revisa la configuración sin guardarla"));
    m_cmdProbar = Boton(this, "cmdProbar", QStringLiteral("Probar (F9)"),
                        QStringLiteral("Ensaya la configuración en un documento pendiente; nada se guarda"));
    for (QToolButton* b : {m_cmdVerificar, m_cmdProbar})
        b->setFont(chica);
    connect(m_cmdVerificar, &QToolButton::clicked, this, &frmConfiguracion::Verificar);
    connect(m_cmdProbar, &QToolButton::clicked, this, &frmConfiguracion::Probar);
    // Tab reaches both, except while a statement box keeps Tab for itself
    // (Tabulador takes every tab stop of the form away meanwhile).
    for (int i = 0; i < 4; ++i) {
        connect(m_txtProcedimiento[i], &orvinda::RichTextBox::GotFocus, this, [this] {
            for (QToolButton* b : {m_cmdVerificar, m_cmdProbar})
                b->setFocusPolicy(Qt::NoFocus);
        });
        connect(m_txtProcedimiento[i], &orvinda::RichTextBox::LostFocus, this, [this] {
            for (QToolButton* b : {m_cmdVerificar, m_cmdProbar})
                b->setFocusPolicy(Qt::TabFocus);
        });
    }

    // The text checks follow the typing, a moment after it stops.
    m_verificacionPendiente = new QTimer(this);
    m_verificacionPendiente->setSingleShot(true);
    m_verificacionPendiente->setInterval(400);
    connect(m_verificacionPendiente, &QTimer::timeout, this, &frmConfiguracion::AvisarVerificacion);
    const auto cambio = [this] { m_verificacionPendiente->start(); };
    for (orvinda::RichTextBox* caja : m_txtProcedimiento)
        connect(caja, &QPlainTextEdit::textChanged, this, cambio);
    connect(m_txtCampos1, &orvinda::txtVEX::Cambio, this, cambio);
    ColocarTaller();
}

void frmConfiguracion::ColocarTaller()
{
    const int ancho = Twips::DesdePixeles(width());
    const int botones = 2700;
    Twips::Mover(m_lblEstado, 120, TiraTop, 4800, TiraAlto);
    Twips::Mover(m_lblAvisos, 5040, TiraTop, qMax(0, ancho - 5040 - botones - 120), TiraAlto);
    Twips::Mover(m_cmdVerificar, ancho - botones - 120, TiraTop, 1200, TiraAlto);
    Twips::Mover(m_cmdProbar, ancho - 1500 - 120, TiraTop, 1500, TiraAlto);
    PonerAvisos(m_textoAvisos);
}

void frmConfiguracion::PonerAvisos(const QString& texto)
{
    m_textoAvisos = texto;
    m_lblAvisos->ensurePolished();
    m_lblAvisos->setAccessibleName(texto);
    m_lblAvisos->setText(m_lblAvisos->fontMetrics().elidedText(texto, Qt::ElideRight, m_lblAvisos->width()));
}

ConfiguracionAutorizacion frmConfiguracion::ConfiguracionEnPantalla() const
{
    ConfiguracionAutorizacion c;
    c.clave = m_txtClave->Texto();
    c.descripcion = m_txtDescripcion->Texto();
    c.etiqueta = m_txtPestania->Texto();
    c.formatoImpresion = m_txtFto_Impresion->Texto();
    c.tabla = m_txtTabla->Texto();
    c.tablaClave = m_txtClave_Principal->Texto();
    c.sql = m_txtProcedimiento[0]->Text();
    c.sqlAutorizacion = m_txtProcedimiento[1]->Text();
    c.camposAutorizar = m_txtCampos1->Texto();
    c.sqlPlantilla = m_txtProcedimiento[2]->Text();
    c.plantilla = m_txtProcedimiento[3]->Text();
    c.sqlRechazar = m_txtProcedimiento[4]->Text();
    return c;
}

void frmConfiguracion::MostrarEstado()
{
    QString texto;
    QString estilo;
    switch (m_txtClave->Texto().isEmpty() ? orvinda::Controles::Modo::Consulta : m_controles->ModoActual()) {
    case orvinda::Controles::Modo::Nuevo: texto = QStringLiteral("Estatus: nueva, sin guardar"); break;
    case orvinda::Controles::Modo::Edicion: texto = QStringLiteral("Estatus: activa, en edición"); break;
    case orvinda::Controles::Modo::Consulta:
        if (m_txtClave->Texto().isEmpty()) {
        } else if (m_controles->HabilitarReactivar()) {
            texto = QStringLiteral("Estatus: ELIMINADA (solo Reactivar o Copiar)");
            estilo = QStringLiteral("color: white; background-color: rgb(180, 30, 30); font-weight: bold;");
        } else if (m_controles->HabilitarModificar()) {
            texto = QStringLiteral("Estatus: activa");
        }
        break;
    }
    m_lblEstado->setText(texto);
    m_lblEstado->setStyleSheet(estilo);
    m_cmdBuscar->setEnabled(!m_controles->EnEdicion());
    // Entering the edit shows the mode at once; the checks follow a moment later.
    if (m_controles->EnEdicion())
        m_verificacionPendiente->start();
    else
        AvisarVerificacion();
}

// The strip runs the very checks Verificar and Guardar run, so that one
// configuration gets one verdict wherever the author looks.
void frmConfiguracion::AvisarVerificacion()
{
    m_verificacionPendiente->stop();
    if (!m_controles->EnEdicion()) {
        MostrarAvisos({});
        return;
    }
    Trampa::Atrapar(
        [this](const QString& descripcion) {
            MostrarAvisos({});
            PonerAvisos(QStringLiteral("Verificar no pudo revisar la configuración: ") + descripcion);
        },
        [this] { MostrarAvisos(VerificarEnPantalla()); });
}

QList<Verificacion::Aviso> frmConfiguracion::VerificarEnPantalla()
{
    ConfiguracionAutorizacion c = ConfiguracionEnPantalla();
    QList<Verificacion::Aviso> avisos = Verificacion::Completa(c);
    m_verificada = {std::move(c), avisos};
    return avisos;
}

void frmConfiguracion::MostrarAvisos(const QList<Verificacion::Aviso>& avisos)
{
    if (avisos.isEmpty()) {
        PonerAvisos(QString());
        m_lblAvisos->setToolTip(QString());
        return;
    }
    const qsizetype errores = Verificacion::Errores(avisos);
    const QString primero = avisos.first().elemento + QStringLiteral(": ") + avisos.first().mensaje;
    // Styled first: errors are bold, and the cut is measured in that font.
    m_lblAvisos->setStyleSheet(errores == 0 ? QStringLiteral("color: rgb(150, 90, 0);")
                                            : QStringLiteral("color: rgb(180, 30, 30); font-weight: bold;"));
    PonerAvisos(errores == 0 ? QStringLiteral("%1 aviso(s) de Verificar. %2").arg(avisos.size()).arg(primero)
                             : QStringLiteral("%1 error(es) y %2 aviso(s) de Verificar. %3")
                                   .arg(errores)
                                   .arg(avisos.size() - errores)
                                   .arg(primero));
    m_lblAvisos->setToolTip(Verificacion::Informe(avisos));
}

bool frmConfiguracion::GuardarConErrores()
{
    // The verdict the strip or Verificar reached on these very texts; without
    // one, the texts' own checks, so that a save sends nothing but itself.
    const ConfiguracionAutorizacion c = ConfiguracionEnPantalla();
    QList<Verificacion::Aviso> errores
        = m_verificada && m_verificada->first == c ? m_verificada->second : Verificacion::Textos(c);
    errores.resize(Verificacion::Errores(errores));
    if (errores.isEmpty())
        return true;
    // Unattended, the save asked for goes ahead; the trace keeps the list.
    const QString pregunta
        = QStringLiteral("La configuración tiene %1:\n%2\n¿Guardarla de todos modos?")
              .arg(errores.size() == 1 ? QStringLiteral("1 error") : QStringLiteral("%1 errores").arg(errores.size()),
                   Verificacion::Texto(errores));
    return Trampa::Preguntar(this, pregunta, QStringLiteral("Guardar"), QStringLiteral("ERR-ID:7500095"),
                             orvinda::Sistema::RespuestaNo, orvinda::Sistema::RespuestaSi)
        == orvinda::Sistema::RespuestaSi;
}

void frmConfiguracion::Verificar()
{
    Trampa::Atrapar(*this, QStringLiteral("Verificar()"), QStringLiteral("ERR-ID:7500091"), [this] {
        const QList<Verificacion::Aviso> avisos = VerificarEnPantalla();
        MostrarAvisos(avisos);
        if (avisos.isEmpty())
            Reportar(QStringLiteral("La configuración no tiene avisos."), orvinda::Sistema::EstiloInformacion,
                     QStringLiteral("Verificar"), QStringLiteral("ERR-ID:7500092"));
        else
            Reportar(
                Verificacion::Informe(avisos),
                Verificacion::Errores(avisos) > 0 ? orvinda::Sistema::EstiloError : orvinda::Sistema::EstiloAdvertencia,
                QStringLiteral("Verificar"), QStringLiteral("ERR-ID:7500093"), Verificacion::ParteDeErrores(avisos));
    });
}

void frmConfiguracion::Buscar()
{
    Trampa::Atrapar(*this, QStringLiteral("Buscar()"), QStringLiteral("ERR-ID:7500095"), [this] {
        if (m_controles->EnEdicion())
            return;
        // Coming back from the list is no new activation of the form.
        ++m_dialogosPropios;
        const auto fin = qScopeGuard([this] { --m_dialogosPropios; });
        frmBuscarConfiguracion lista(this);
        lista.Cargar();
        if (!m_txtClave->Texto().isEmpty())
            lista.lstConfiguraciones().SeleccionarTexto(m_txtClave->Texto());
        if (m_alBuscar)
            m_alBuscar(lista);
        if (lista.Elegida().isEmpty() && lista.exec() != QDialog::Accepted)
            return;
        if (lista.Elegida().isEmpty() || m_controles->EnEdicion())
            return;
        // As typing the key and confirming it.
        m_ssTab->setActivetab(0);
        m_txtClave->setTexto(lista.Elegida());
        m_txtClave->setFocus();
        txtClave_Enter();
    });
}

void frmConfiguracion::Probar()
{
    Trampa::Atrapar(*this, QStringLiteral("Probar()"), QStringLiteral("ERR-ID:7500094"), [this] {
        // Coming back from the rehearsal is no new activation of the form.
        ++m_dialogosPropios;
        const auto fin = qScopeGuard([this] { --m_dialogosPropios; });
        frmEnsayo ensayo(ConfiguracionEnPantalla(), this);
        ensayo.exec();
    });
}

} // namespace rm640
