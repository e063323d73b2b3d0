#include "editor/frmConfiguracion.h"

#include "config/ConfiguracionAutorizacion.h"

#include "host/controles/AjusteVentana.h"
#include "host/controles/Controles.h"
#include "host/controles/Frame.h"
#include "host/controles/MatrizControles.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/Shape.h"
#include "host/controles/Twips.h"
#include "host/controles/VistaPreviaTeclas.h"
#include "host/controles/colorVEX.h"
#include "host/controles/ssTbVex.h"
#include "host/controles/txtVEX.h"
#include "host/datos/Conexion.h"
#include "host/datos/Transaccion.h"
#include "host/servicios/ConsultaRegistro.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/TablaClases.h"
#include "host/servicios/Utilerias.h"
#include "publico/FormaUnica.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"

#include <QApplication>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>

using orvinda::Twips;

namespace rm640 {

namespace {

const QString Tabla = QStringLiteral("Configuracion_Autorizacion");
const QString ColumnaClave = QStringLiteral("Ca_Cve_Configuracion_Autorizacion");

// The stored text must equal the field text: the literal forms of the
// configuration record double the character that would end each literal.
const auto Simple = &ConfiguracionAutorizacion::EscaparSimple;

// "CAT_AUTOCLAVE": true, false, a number (zero false), nothing (false); of
// texts only the usual words for yes count as true.
bool ComoBooleano(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return false;
    if (valor.typeId() == QMetaType::Bool)
        return valor.toBool();
    const QString texto = valor.toString().trimmed();
    bool esNumero = false;
    const double numero = texto.toDouble(&esNumero);
    if (esNumero)
        return numero != 0;
    static const QStringList si = {QStringLiteral("TRUE"), QStringLiteral("VERDADERO"), QStringLiteral("SI"),
                                   QStringLiteral("SÍ"), QStringLiteral("S")};
    return si.contains(texto.toUpper());
}

} // namespace

frmConfiguracion& frmConfiguracion::Instancia()
{
    return FormaUnica<frmConfiguracion>::Obtener([] { return new frmConfiguracion(); });
}

bool frmConfiguracion::ExisteInstancia()
{
    return FormaUnica<frmConfiguracion>::Existe();
}

void frmConfiguracion::AbrirDesdeBandeja()
{
    frmConfiguracion& forma = Instancia();
    const auto descargar = qScopeGuard([] { FormaUnica<frmConfiguracion>::Descargar(); });
    forma.Cargar();
    forma.Activar();
}

QString frmConfiguracion::OrganizacionAjustes()
{
    return QStringLiteral("Orvinda");
}

QString frmConfiguracion::AplicacionAjustes()
{
    return QStringLiteral("RM640") + QStringLiteral("FORMATO-") + QStringLiteral("frmConfiguracion");
}

frmConfiguracion::frmConfiguracion(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmConfiguracion"));
    setWindowTitle(QStringLiteral("Configuracion Autorizacion"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    resize(Twips::APixeles(AnchoDiseno), Twips::APixeles(AltoDiseno));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(245, 245, 245));
    setPalette(p);
    CrearControles();
    CrearTaller();
    setMinimumSize(Twips::APixeles(AnchoMinimo), Twips::APixeles(AltoMinimo));
    // Key preview: the window sees the keys before whichever field has the focus.
    new orvinda::VistaPreviaTeclas(*this, *this);
}

frmConfiguracion::~frmConfiguracion()
{
    if (m_formaCargada)
        Form_QueryUnload();
    // The dialog's own destructor takes the focus out of a statement box
    // after this form's members are gone: Tabulador must not run then.
    for (orvinda::RichTextBox* caja : m_txtProcedimiento)
        disconnect(caja, nullptr, this, nullptr);
}

orvinda::Frame& frmConfiguracion::fr(int pestania) const
{
    return orvinda::MatrizControles::Elemento(m_fr, pestania);
}

orvinda::Shape& frmConfiguracion::sh0(int indice) const
{
    return orvinda::MatrizControles::Elemento(m_sh0, indice);
}

// ---------------------------------------------------------------- messages and traps

QVariant frmConfiguracion::Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& idError,
                                    qsizetype graves)
{
    // The box takes the activation away; getting it back is no new activation.
    ++m_dialogosPropios;
    const auto fin = qScopeGuard([this] { --m_dialogosPropios; });
    return Trampa::Mostrar(this, mensaje, estilo, titulo, idError, graves);
}

// ---------------------------------------------------------------- loading and activation

void frmConfiguracion::Cargar()
{
    if (!m_formaCargada)
        Form_Load();
}

void frmConfiguracion::Form_Load()
{
    m_formaCargada = true;
    m_colorVEX->AplicarColores();
    m_controles->setModoCatalogo(true);
    RestaurarPosicion();
    for (int i : {0, 1, 2, 4}) {
        m_txtProcedimiento[i]->setFontName(QStringLiteral("Courier New"));
        m_txtProcedimiento[i]->setFontSize(8);
        m_txtProcedimiento[i]->setFontBold(false);
    }
    m_txtClave->setFormato(Publico::Sistema->LeerParametro(QStringLiteral("FTO_CONFIGURACION_AUTORIZACION"), 0,
                                                           QStringLiteral("T"), QStringLiteral("0000")));
    Guardado = false;
    // The other statement boxes read as SQL from the start, a new record
    // included; the first one is formatted on every activation.
    for (int i : {1, 2, 4})
        Publico::Utilerias->FormatearConsulta(*m_txtProcedimiento[i], 32);
}

void frmConfiguracion::Activar()
{
    Cargar();
    Publico::Utilerias->FormatearConsulta(*m_txtProcedimiento[0], 32);
    exec();
}

void frmConfiguracion::Form_Activate()
{
    m_controles->ActivarBarra(false);
    m_txtClave->setFocus();
    m_ssTab->setActivetab(0);
}

void frmConfiguracion::Activacion()
{
    m_activadaTrasMostrar = true;
    Trampa::Atrapar(*this, QStringLiteral("Form_Activate()"), QStringLiteral("ERR-ID:7500047"),
                    [this] { Form_Activate(); });
}

bool frmConfiguracion::event(QEvent* evento)
{
    if (evento->type() == QEvent::WindowDeactivate) {
        // Coming back from our own message box, or from another application,
        // is no new activation of the form. The window taking over is
        // already the active one when this event arrives.
        m_ignorarActivacion = m_dialogosPropios > 0 || !QApplication::activeWindow();
    } else if (evento->type() == QEvent::WindowActivate && m_formaCargada) {
        if (m_ignorarActivacion)
            m_ignorarActivacion = false;
        else
            Activacion();
    }
    return QDialog::event(evento);
}

void frmConfiguracion::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!m_formaCargada)
        Trampa::Atrapar(*this, QStringLiteral("Form_Load()"), QStringLiteral("ERR-ID:7500036"),
                        [this] { Form_Load(); });
    if (evento->spontaneous())
        return;
    // Never larger than the screen it opens on.
    orvinda::AjusteVentana::CaberEnPantalla(*this);
    m_activadaTrasMostrar = false;
    m_ignorarActivacion = false;
    // Where the window system sends no activation (offscreen, a window
    // shown without the focus) the first showing still activates the form.
    QTimer::singleShot(0, this, [this] {
        if (isVisible() && !m_activadaTrasMostrar)
            Activacion();
    });
}

// ---------------------------------------------------------------- key field

void frmConfiguracion::txtClave_Cambio()
{
    Trampa::Atrapar(*this, QStringLiteral("txtClave_Cambio()"), QStringLiteral("ERR-ID:7500046"), [this] {
        if (m_controles->EnEdicion() || m_copiando)
            return;
        m_controles->setHabilitarModificar(false);
        m_controles->setHabilitarEliminar(false);
        m_controles->setHabilitarInformacion(false);
        m_controles->setHabilitarReactivar(false);
        Publico::Utilerias->LimpiarForma(*this, 1);
        m_txtProcedimiento[0]->setText(QString());
        m_controles->setTextoBotonExtra(QString());
        MostrarEstado();
    });
}

void frmConfiguracion::txtClave_Enter()
{
    const auto fallo = [this](const QString& descripcion) {
        Trampa::Intentar([&] {
            Reportar(descripcion, orvinda::Sistema::EstiloError, QStringLiteral("txtClave_Enter()"),
                     QStringLiteral("ERR-ID:7500024"));
        });
        m_controles->RestaurarBotones();
    };
    Trampa::Atrapar(fallo, [this] {
        if (m_controles->EnEdicion())
            return;
        if (m_txtClave->Texto().isEmpty())
            return;
        m_txtClave->AplicarFormato();
        const QString clave = m_txtClave->Texto();

        Publico::CadenaSql
            = QStringLiteral("SELECT * FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '")
            + Simple(clave) + QStringLiteral("'");
        orvinda::Recordset rs = Publico::Sistema->ObtenerConexion().Execute(Publico::CadenaSql);
        if (!rs.Eof()) {
            m_txtDescripcion->setValor(rs.Fields(QStringLiteral("Ca_Descripcion")).Value());
            m_txtPestania->setValor(rs.Fields(QStringLiteral("Ca_Etiqueta")).Value());
            m_txtTabla->setValor(rs.Fields(QStringLiteral("Ca_Tabla")).Value());
            m_txtClave_Principal->setValor(rs.Fields(QStringLiteral("Ca_Tabla_Clave")).Value());
            m_txtProcedimiento[0]->setValor(rs.Fields(QStringLiteral("Ca_Sql")).Value());
            m_txtProcedimiento[1]->setValor(rs.Fields(QStringLiteral("Ca_Sql_Autoriazion")).Value());
            m_txtProcedimiento[2]->setValor(rs.Fields(QStringLiteral("Ca_Sql_Plantilla")).Value());
            m_txtProcedimiento[3]->setValor(rs.Fields(QStringLiteral("Ca_Plantilla_Autorizacion")).Value());
            m_txtProcedimiento[4]->setValor(rs.Fields(QStringLiteral("Ca_Sql_Rechazar")).Value());
            m_txtFto_Impresion->setValor(rs.Fields(QStringLiteral("Ca_Formato_Impresion")).Value());
            m_txtCampos1->setValor(rs.Fields(QStringLiteral("Ca_Campos_Autorizar")).Value());
            m_controles->setHabilitarInformacion(true);
            // A row without a state counts as deleted.
            const orvinda::Campo estado = rs.Fields(QStringLiteral("Es_Cve_Estado"));
            if (!estado.EsNulo() && estado.Value().toString() != QLatin1String("BA")) {
                m_controles->setHabilitarModificar(true);
                m_controles->setHabilitarEliminar(true);
            } else {
                m_controles->setHabilitarReactivar(true);
            }
        }
        m_controles->setTextoBotonExtra(QStringLiteral("Copiar"));
        MostrarEstado();
        for (int i : {0, 1, 2, 4})
            Publico::Utilerias->FormatearConsulta(*m_txtProcedimiento[i], 32);
        rs.Close();
    });
}

// ---------------------------------------------------------------- saving

bool frmConfiguracion::ClaveLibre()
{
    const QString encontrada = Publico::Utilerias->BuscarValor(Tabla, ColumnaClave, m_txtClave->Texto(), ColumnaClave,
                                                               0, QString(), QString(), QString());
    if (encontrada.isEmpty())
        return true;

    const bool autoclave
        = ComoBooleano(Publico::Sistema->LeerParametro(QStringLiteral("CAT_AUTOCLAVE"), 0, QString(), QString()));
    if (!autoclave) {
        Reportar(QStringLiteral("La clave ya está asignada al perfil puesto") + encontrada,
                 orvinda::Sistema::EstiloAdvertencia, QStringLiteral("Orvinda"), QStringLiteral("ERR-ID:7500010"));
        m_txtClave->setFocus();
        m_controles->RestaurarBotones();
        return false;
    }

    const QVariant respuesta = Reportar(
        QStringLiteral("La clave, ya existe en la base de datos") + encontrada + QStringLiteral("\r\n")
            + QStringLiteral("¿Desea generar una nueva clave?"),
        orvinda::Sistema::EstiloPregunta, QStringLiteral("Generar nueva clave?"), QStringLiteral("ERR-ID:7500025"));
    if (respuesta.toInt() == orvinda::Sistema::RespuestaSi) {
        const qint32 siguiente = Publico::Utilerias->SiguienteClave(
            Tabla, ColumnaClave, QString(), QString(), QString(), QString(), QString(), QString(), QString());
        m_txtClave->setTexto(static_cast<qint64>(siguiente));
        return true;
    }
    m_txtClave->setFocus();
    m_controles->RestaurarBotones();
    return false;
}

bool frmConfiguracion::CamposCompletos()
{
    struct Requisito
    {
        QWidget* campo;
        QString texto;
        const char* id;
        QString mensaje;
        int pestania;
    };
    const Requisito requisitos[] = {
        {m_txtDescripcion, m_txtDescripcion->Texto(), "ERR-ID:7500011",
         QStringLiteral("Debe especificar una descripción"), -1},
        {m_txtPestania, m_txtPestania->Texto(), "ERR-ID:7500012", QStringLiteral("Debe especificar una pestaña"), -1},
        {m_txtTabla, m_txtTabla->Texto(), "ERR-ID:7500013", QStringLiteral("Debe especificar una tabla"), -1},
        {m_txtProcedimiento[0], m_txtProcedimiento[0]->Text(), "ERR-ID:7500014",
         QStringLiteral("Debe especificar una consulta para la selección de datos del listview"), 1},
        {m_txtProcedimiento[1], m_txtProcedimiento[1]->Text(), "ERR-ID:7500015",
         QStringLiteral("Debe especificar una consulta una actualización para la autorización de los datos"), 2},
        {m_txtProcedimiento[2], m_txtProcedimiento[2]->Text(), "ERR-ID:7500016",
         QStringLiteral("Debe especificar una consulta para la consulta de la plantilla "), 3},
        {m_txtProcedimiento[3], m_txtProcedimiento[3]->Text(), "ERR-ID:7500017",
         QStringLiteral("Debe especificar información para la plantilla"), 4},
        {m_txtProcedimiento[4], m_txtProcedimiento[4]->Text(), "ERR-ID:7500018",
         QStringLiteral("Debe especificar una consulta para el rechazar"), 5},
    };
    for (const Requisito& r : requisitos) {
        if (!r.texto.isEmpty())
            continue;
        Reportar(r.mensaje, orvinda::Sistema::EstiloAdvertencia, QStringLiteral("Atención"), QLatin1String(r.id));
        r.campo->setFocus();
        m_controles->RestaurarBotones();
        if (r.pestania >= 0)
            m_ssTab->setActivetab(static_cast<qint16>(r.pestania));
        return false;
    }
    return true;
}

void frmConfiguracion::Controles_Guardar(bool& EsNuevo)
{
    bool comillasApagadas = false;
    bool guardado = false;
    const auto fallo = [&](const QString& descripcion) {
        // The shared connection must not stay with the OFF setting for the
        // other screens.
        if (comillasApagadas)
            Trampa::Intentar(
                [] { Publico::Sistema->ObtenerConexion().Execute(QStringLiteral("SET QUOTED_IDENTIFIER ON")); });
        Trampa::Intentar([&] {
            Reportar(descripcion, orvinda::Sistema::EstiloError, QStringLiteral("ERROR"),
                     QStringLiteral("ERR-ID:7500020"));
        });
        m_controles->RestaurarBotones();
    };
    Trampa::Atrapar(fallo, [&] {
        if (EsNuevo && !ClaveLibre())
            return;
        if (!CamposCompletos())
            return;
        if (!GuardarConErrores()) {
            m_controles->RestaurarBotones();
            return;
        }

        orvinda::Transaccion transaccion(Publico::Conexion(), &Publico::Conexion);
        const QString operador = Publico::Sistema->ObtenerOperador();
        const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());
        Publico::CadenaSql = QString();
        Publico::CadenaSql = EsNuevo ? SentenciaInsertar(operador, fecha) : SentenciaActualizar(operador, fecha);
        Publico::Conexion().Execute(QStringLiteral("SET QUOTED_IDENTIFIER OFF"));
        comillasApagadas = true;
        Publico::Conexion().Execute(Publico::CadenaSql);
        Publico::Conexion().Execute(QStringLiteral("SET QUOTED_IDENTIFIER ON"));
        comillasApagadas = false;
        transaccion.Confirmar();
        guardado = true;
    });
    if (!guardado)
        return;

    Trampa::Atrapar(*this, QStringLiteral("Controles_Guardar()"), QStringLiteral("ERR-ID:7500037"), [this] {
        m_controles->ConfirmarGuardado();
        CancelarEdicion();
        Guardado = true;
        Reportar(QStringLiteral("Para verificar la configuración guardada,") + QStringLiteral("\r\n")
                     + QStringLiteral(" es necesario salir y entrar de nuevo a la plantilla"),
                 orvinda::Sistema::EstiloInformacion, QStringLiteral("Información"), QStringLiteral("ERR-ID:7500019"));
        hide();
    });
}

// ---------------------------------------------------------------- commands

void frmConfiguracion::Nuevo()
{
    m_txtClave->setHabilitado(false);
    if (!m_copiando) {
        m_txtClave->setTexto(QString());
        Publico::Utilerias->LimpiarForma(*this, 1);
        for (orvinda::RichTextBox* caja : m_txtProcedimiento)
            caja->setText(QString());
    }
    Publico::Utilerias->HabilitarForma(*this, 1);
    for (orvinda::RichTextBox* caja : m_txtProcedimiento)
        caja->setEnabled(true);
    m_controles->setHabilitarInformacion(false);
    m_controles->setHabilitarReactivar(false);
    m_txtClave->setModoNuevo(true);
    m_txtClave->setHabilitado(true);
    const qint32 siguiente = Publico::Utilerias->SiguienteClave(Tabla, ColumnaClave, QString(), QString(), QString(),
                                                                QString(), QString(), QString(), QString());
    m_txtClave->setTexto(static_cast<qint64>(siguiente));
    m_txtClave->setHabilitado(false);
    m_txtDescripcion->setFocus();
    m_ssTab->setActivetab(0);
    MostrarEstado();
}

void frmConfiguracion::Controles_Nuevo()
{
    Trampa::Atrapar(*this, QStringLiteral("Controles_Nuevo()"), QStringLiteral("ERR-ID:7500040"), [this] { Nuevo(); });
}

void frmConfiguracion::Controles_Modificar()
{
    Trampa::Atrapar(*this, QStringLiteral("Controles_Modificar()"), QStringLiteral("ERR-ID:7500041"), [this] {
        m_txtClave->setHabilitado(false);
        Publico::Utilerias->HabilitarForma(*this, 1);
        m_txtDescripcion->setFocus();
        for (orvinda::RichTextBox* caja : m_txtProcedimiento)
            caja->setEnabled(true);
        MostrarEstado();
    });
}

void frmConfiguracion::Controles_BotonExtra()
{
    Trampa::Atrapar(*this, QStringLiteral("Controles_BotonExtra()"), QStringLiteral("ERR-ID:7500042"), [this] {
        m_copiando = true;
        const auto fin = qScopeGuard([this] { m_copiando = false; });
        m_controles->EjecutarNuevo(false);
        m_controles->setTextoBotonExtra(QString());
    });
}

void frmConfiguracion::CancelarEdicion()
{
    Publico::Utilerias->LimpiarForma(*this, 1);
    m_txtClave->setHabilitado(true);
    m_txtClave->setFocus();
    m_txtClave->setTexto(QString());
    for (orvinda::RichTextBox* caja : m_txtProcedimiento)
        caja->setText(QString());
    for (orvinda::RichTextBox* caja : m_txtProcedimiento)
        caja->setEnabled(false);
    m_colorVEX->AplicarColores();
    m_ssTab->setActivetab(0);
    MostrarEstado();
}

void frmConfiguracion::Controles_Cancelar()
{
    Trampa::Atrapar(*this, QStringLiteral("Controles_Cancelar()"), QStringLiteral("ERR-ID:7500043"),
                    [this] { CancelarEdicion(); });
}

void frmConfiguracion::CambiarEstado(const std::function<QString(const QString&, const QString&)>& sentencia,
                                     const QString& titulo, const QString& idError, const QString& idDespues,
                                     bool limpiarDeNuevo)
{
    const auto fallo = [&](const QString& descripcion) {
        Reportar(descripcion, orvinda::Sistema::EstiloAdvertencia, titulo, idError);
    };
    const bool hecho = Trampa::Atrapar(fallo, [&] {
        orvinda::Transaccion transaccion(Publico::Conexion(), &Publico::Conexion);
        const QString operador = Publico::Sistema->ObtenerOperador();
        const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());
        Publico::CadenaSql = QString();
        Publico::CadenaSql = sentencia(operador, fecha);
        Publico::Conexion().Execute(Publico::CadenaSql);
        transaccion.Confirmar();
    });
    if (!hecho)
        return;
    Trampa::Atrapar(*this, titulo, idDespues, [this, limpiarDeNuevo] {
        CancelarEdicion();
        if (limpiarDeNuevo)
            Publico::Utilerias->LimpiarForma(*this, 1);
    });
}

void frmConfiguracion::Controles_Eliminar()
{
    const QString clave = m_txtClave->Texto();
    CambiarEstado(
        [&clave](const QString& operador, const QString& fecha) {
            QString s;
            s += QStringLiteral(" UPDATE Configuracion_Autorizacion SET ");
            s += QStringLiteral("   Oper_Ult_Modif = '") + Simple(operador) + QStringLiteral("', ");
            s += QStringLiteral("   Fecha_Ult_Modif = '") + Simple(fecha) + QStringLiteral("',");
            s += QStringLiteral("   Oper_Baja = '") + Simple(operador) + QStringLiteral("', ");
            s += QStringLiteral("   Fecha_Baja = '") + Simple(fecha) + QStringLiteral("', ");
            s += QStringLiteral("   Es_Cve_Estado = 'BA' ");
            s += QStringLiteral(" WHERE Ca_Cve_Configuracion_Autorizacion= '") + Simple(clave) + QStringLiteral("' ");
            return s;
        },
        QStringLiteral("Controles_Eliminar"), QStringLiteral("ERR-ID:7500021"), QStringLiteral("ERR-ID:7500038"),
        false);
}

void frmConfiguracion::Controles_Reactivar()
{
    const QString clave = m_txtClave->Texto();
    CambiarEstado(
        [&clave](const QString& operador, const QString& fecha) {
            QString s;
            s += QStringLiteral(" UPDATE Configuracion_Autorizacion SET ");
            s += QStringLiteral("   Oper_Ult_Modif = '") + Simple(operador) + QStringLiteral("', ");
            s += QStringLiteral("   Fecha_Ult_Modif = '") + Simple(fecha) + QStringLiteral("', ");
            s += QStringLiteral("   Oper_Baja = '', ");
            s += QStringLiteral("   Fecha_Baja= NULL, ");
            s += QStringLiteral("   Es_Cve_Estado = 'AC' ");
            s += QStringLiteral(" WHERE Ca_Cve_Configuracion_Autorizacion = '") + Simple(clave) + QStringLiteral("' ");
            return s;
        },
        QStringLiteral("Controles_Reactivar()"), QStringLiteral("ERR-ID:7500022"), QStringLiteral("ERR-ID:7500039"),
        true);
}

void frmConfiguracion::Controles_Informacion()
{
    Trampa::Atrapar(*this, QStringLiteral("Controles_Informacion()"), QStringLiteral("ERR-ID:7500044"), [this] {
        std::unique_ptr<orvinda::ConsultaRegistro> consulta = orvinda::TablaClases::Crear<orvinda::ConsultaRegistro>();
        ++m_dialogosPropios;
        const auto fin = qScopeGuard([this] { --m_dialogosPropios; });
        consulta->MostrarRegistro(Tabla, ColumnaClave, m_txtClave->Texto(), QString(), QString(), QString(), QString());
        consulta.reset();
    });
}

void frmConfiguracion::Controles_Salir()
{
    Trampa::Atrapar(*this, QStringLiteral("Controles_Salir()"), QStringLiteral("ERR-ID:7500045"), [this] { hide(); });
}

} // namespace rm640
