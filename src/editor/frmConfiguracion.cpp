#include "editor/frmConfiguracion.h"

#include "config/ConfiguracionAutorizacion.h"

#include "host/controles/Controles.h"
#include "host/controles/Etiqueta.h"
#include "host/controles/Frame.h"
#include "host/controles/MatrizControles.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/Shape.h"
#include "host/controles/Twips.h"
#include "host/controles/colorVEX.h"
#include "host/controles/ssTbVex.h"
#include "host/controles/txtVEX.h"
#include "host/datos/Conexion.h"
#include "host/datos/ErrorRm.h"
#include "host/servicios/ConsultaRegistro.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/TablaClases.h"
#include "host/servicios/Utilerias.h"
#include "shell/FormaUnica.h"
#include "shell/Publico.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QPointer>
#include <QScopeGuard>
#include <QSettings>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <cmath>

using orvinda::ErrorRm;
using orvinda::Twips;

namespace rm640 {

namespace {


const QString Modulo = QStringLiteral("RM640");
const QString Tabla = QStringLiteral("Configuracion_Autorizacion");
const QString ColumnaClave = QStringLiteral("Ca_Cve_Configuracion_Autorizacion");
const QString SeccionAjustes = QStringLiteral("Settings/");

// Types that Tabulador leaves alone; a type name found anywhere in this text counts.
const QString TiposSinTabulador = QStringLiteral("COLORVEX|LABEL|FRAME|ETIQUETA|");

// Tab k shows bar element BarraDePestania[k].
constexpr int BarraDePestania[6] = {0, 2, 1, 3, 4, 5};

// Statements that may fail one by one (layout, placement, tab stops): a
// failing one is skipped and the next one runs.
void Intentar(const std::function<void()>& sentencia)
{
    try {
        sentencia();
    } catch (const std::exception&) {
    }
}

QString Descripcion(const std::exception& e)
{
    if (const auto* error = dynamic_cast<const ErrorRm*>(&e))
        return error->Explicada(QString());
    return QString::fromUtf8(e.what());
}

// The stored text must equal the field text: the literal forms of the
// configuration record double the character that would end each literal.
QString Simple(const QString& valor)
{
    return ConfiguracionAutorizacion::EscaparSimple(valor);
}

QString Doble(const QString& valor)
{
    return ConfiguracionAutorizacion::EscaparDoble(valor);
}

QString MarcoS(const QString& valor)
{
    return QStringLiteral("   '") + Simple(valor) + QStringLiteral("', ");
}

QString MarcoD(const QString& valor)
{
    return QStringLiteral("   \"") + Doble(valor) + QStringLiteral("\", ");
}

QFont Fuente(const QString& familia, double puntos, bool negrita = false)
{
    QFont f(familia);
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    return f;
}

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
    // Key preview: the window sees the keys before whichever field has the focus.
    qApp->installEventFilter(this);
}

frmConfiguracion::~frmConfiguracion()
{
    if (m_formaCargada)
        Form_QueryUnload();
}

orvinda::Frame& frmConfiguracion::fr(int pestania) const
{
    return orvinda::MatrizControles::Elemento(m_fr, pestania);
}

orvinda::Shape& frmConfiguracion::sh0(int indice) const
{
    return orvinda::MatrizControles::Elemento(m_sh0, indice);
}

// ---------------------------------------------------------------- design

orvinda::Etiqueta* frmConfiguracion::CrearEtiqueta(QWidget* marco, const char* nombre, const QString& texto,
                                                   const QString& id, int left, int top, int width, int height)
{
    auto* e = new orvinda::Etiqueta(marco);
    e->setObjectName(QLatin1String(nombre));
    e->setCaption(texto);
    e->setIdetiqueta(id);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setBackcolor(QColor(245, 245, 245));
    e->setFont(Fuente(QStringLiteral("Calibri"), 8.25));
    Twips::Mover(e, left, top, width, height);
    m_controls.append(e);
    return e;
}

orvinda::txtVEX* frmConfiguracion::CrearCampo(QWidget* marco, const char* nombre, int left, int top, int width,
                                              int maxlength)
{
    auto* t = new orvinda::txtVEX(marco);
    t->setObjectName(QLatin1String(nombre));
    t->setFont(Fuente(QStringLiteral("Calibri"), 8.25));
    t->setEnabledcolor(QColor(255, 255, 255));
    t->setFocuscolor(QColor(245, 236, 203));
    t->setMaxlength(maxlength);
    // Of the one-line fields only the key starts open.
    t->setHabilitado(false);
    t->setTabonenter(true);
    Twips::Mover(t, left, top, width, 300);
    m_controls.append(t);
    return t;
}

orvinda::RichTextBox* frmConfiguracion::CrearCaja(QWidget* marco, const char* nombre, int top, int height)
{
    auto* c = new orvinda::RichTextBox(marco);
    c->setObjectName(QLatin1String(nombre));
    Twips::Mover(c, 0, top, 12255, height);
    // Closed until a new record or an edit opens it, as after Cancelar.
    c->setEnabled(false);
    m_controls.append(c);
    m_txtProcedimiento.append(c);
    return c;
}

void frmConfiguracion::CrearControles()
{
    m_colorVEX = new orvinda::colorVEX(this);
    m_colorVEX->setObjectName(QStringLiteral("colorVEX"));
    m_colorVEX->setProperty("backcolor", QColor(245, 245, 245));
    m_colorVEX->setProperty("enablecolor", QColor(255, 255, 255));
    m_colorVEX->setProperty("disablecolor", QColor(224, 224, 224));
    m_colorVEX->setProperty("focuscolor", QColor(255, 255, 255));
    m_colorVEX->setProperty("labelfontsize", 8.25);
    m_colorVEX->setProperty("textfontsize", 8.25);
    m_colorVEX->setProperty("menubackcolor", QColor(179, 204, 221));
    m_colorVEX->setProperty("menufontbackcolor", QColor(245, 236, 203));
    m_colorVEX->setProperty("menuselbackcolor", QColor(226, 213, 156));
    m_colorVEX->setProperty("calendarbackcolor", QColor(255, 255, 192));
    m_colorVEX->setProperty("calendarforecolor", QColor(0, 0, 128));
    m_colorVEX->setProperty("calendartitlebackcolor", QColor(137, 177, 201));
    m_colorVEX->setProperty("calendartitleforecolor", QColor(255, 255, 255));
    m_colorVEX->setProperty("calendartrailingforecolor", QColor(0, 83, 138));
    m_colorVEX->setProperty("dbgridbackcolor", QColor(255, 255, 192));
    m_colorVEX->setProperty("dbgridbackcoloreven", QColor(255, 255, 255));
    m_colorVEX->setProperty("dbgridbackcolorodd", QColor(255, 255, 255));
    m_controls.append(m_colorVEX);

    // Beneath the toolbar, as designed.
    auto* estatus = new orvinda::Etiqueta(this);
    estatus->setObjectName(QStringLiteral("Etiqueta3"));
    estatus->setCaption(QStringLiteral("Estatus:"));
    estatus->setIdetiqueta(QStringLiteral("ESTATUS"));
    estatus->setBackcolor(QColor(255, 255, 255));
    estatus->setFont(Fuente(QStringLiteral("Arial"), 8.25));
    Twips::Mover(estatus, 0, 0, 1695, 255);
    m_controls.append(estatus);

    m_controles = new orvinda::Controles(this);
    m_controles->setObjectName(QStringLiteral("Controles"));
    m_controles->setCaption(QStringLiteral("Configuracion Autorizacion"));
    m_controles->setTabwidth(0);
    m_controles->setEasyaccessenabled(QStringLiteral("NO"));
    m_controles->setShowmenupopup(QStringLiteral("NO"));
    m_controles->setShowwindowslist(QStringLiteral("SI"));
    m_controles->setShowexitbutton(QStringLiteral("SI"));
    m_controles->setPermitir_mover(true);
    m_controles->setCaptionbuttonsize(1500);
    Twips::Mover(m_controles, 0, 0, 14355, 960);
    m_controls.append(m_controles);

    m_ssTab = new orvinda::ssTbVex(this);
    m_ssTab->setObjectName(QStringLiteral("ssTabVex"));
    m_ssTab->setTabcount(6);
    const QStringList titulos = {QStringLiteral("General"), QStringLiteral("SQL selección de datos"),
                                 QStringLiteral("SQL autorización"), QStringLiteral("SQL plantilla"),
                                 QStringLiteral("HTML plantilla"), QStringLiteral("SQL rechazar")};
    for (int k = 0; k < 6; ++k)
        m_ssTab->setTabcaption(k, titulos[k]);
    m_ssTab->setActivetabheight(21);
    m_ssTab->setTabstyle(1);
    m_ssTab->setTabtheme(2);
    m_ssTab->setShowfocusrect(false);
    m_ssTab->setActivetabbackcolor(QColor(0, 83, 138));
    m_ssTab->setActivetabforecolor(QColor(255, 255, 255));
    m_ssTab->setActivetabfont(Fuente(QStringLiteral("Calibri"), 9.75, true));
    m_ssTab->setInactivetabbackcolor(QColor(196, 196, 196));
    m_ssTab->setInactivetabforecolor(QColor(93, 93, 93));
    m_ssTab->setInactivetabfont(Fuente(QStringLiteral("Calibri"), 9, true));
    m_ssTab->setTabstripbackcolor(QColor(233, 233, 233));
    Twips::Mover(m_ssTab, 120, 1200, 13935, 6735);
    m_ssTab->setActivetab(2);
    // The strip's scroll arrows are clicked, not tabbed to: otherwise they
    // would stay tab stops while a statement box wants Tab for itself.
    for (QToolButton* flecha : m_ssTab->tabBar()->findChildren<QToolButton*>())
        flecha->setFocusPolicy(Qt::NoFocus);
    m_controls.append(m_ssTab);

    m_sh0.resize(6);
    m_fr.resize(6);
    for (int k = 0; k < 6; ++k) {
        QWidget* pagina = m_ssTab->Pagina(k);
        const int e = BarraDePestania[k];
        auto* barra = new orvinda::Shape(pagina);
        barra->setObjectName(QStringLiteral("sh0"));
        barra->setIndex(e);
        barra->setFillColor(QColor(180, 201, 75));
        barra->setBorderStyle(0);
        Twips::Mover(barra, 0, 330, 13935, 135);
        m_sh0[e] = barra;

        auto* marco = new orvinda::Frame(pagina);
        marco->setObjectName(QStringLiteral("fr%1").arg(k));
        marco->setCaption(QStringLiteral("Frame1"));
        marco->setBorderStyle(0);
        marco->setBackColor(QColor(245, 245, 245));
        marco->setFont(Fuente(QStringLiteral("Calibri"), 8.25));
        Twips::Mover(marco, 0, 360, 13935, 6375);
        m_fr[k] = marco;
    }
    for (int k = 0; k < 6; ++k)
        m_controls.append(m_fr[k]);
    for (int e = 0; e < 6; ++e)
        m_controls.append(m_sh0[e]);

    QWidget* general = m_fr[0];
    CrearEtiqueta(general, "Label9", QStringLiteral("Clave:"), QStringLiteral("Clave"), 0, 120, 1695, 255);
    m_txtClave = CrearCampo(general, "txtClave", 1800, 120, 1935, 10);
    m_txtClave->setIdconsulta(QStringLiteral("CONFIGURACION_AUTORIZACION"));
    m_txtClave->setEsclave(true);
    m_txtClave->setMayusculas(true);
    m_txtClave->setTabonenter(false);
    m_txtClave->setHabilitado(true);

    CrearEtiqueta(general, "Etiqueta2", QStringLiteral("Descripción:"), QStringLiteral("Descripción"), 0, 480, 1695, 255);
    m_txtDescripcion = CrearCampo(general, "txtDescripcion", 1800, 480, 5295, 50);

    CrearEtiqueta(general, "Label10", QStringLiteral("Pestaña:"), QStringLiteral("PESTAÑA"), 0, 840, 1695, 255);
    m_txtPestania = CrearCampo(general, "txtPestania", 1800, 840, 1935, 30);
    m_txtPestania->setTransaccion(QStringLiteral("DN228"));

    CrearEtiqueta(general, "Etiqueta4", QStringLiteral("Tabla:"), QStringLiteral("TABLA"), 0, 1200, 1695, 255);
    m_txtTabla = CrearCampo(general, "txtTabla", 1800, 1200, 1935, 30);
    m_txtTabla->setEsclave(true);
    m_txtTabla->setMayusculas(true);

    CrearEtiqueta(general, "Etiqueta5", QStringLiteral("Clave de la tabla:"), QStringLiteral("CLAVE DE LA TABLA"), 0,
                  1560, 1695, 255);
    m_txtClave_Principal = CrearCampo(general, "txtClave_Principal", 1800, 1560, 1935, 30);
    m_txtClave_Principal->setEsclave(true);
    m_txtClave_Principal->setMayusculas(true);

    CrearEtiqueta(general, "Etiqueta8", QStringLiteral("Formato:"), QStringLiteral("FORMATO DE IMPRECION"), 360, 1920,
                  1335, 255);
    m_txtFto_Impresion = CrearCampo(general, "txtFto_Impresion", 1800, 1920, 1935, 30);
    m_txtFto_Impresion->setIdconsulta(QStringLiteral("FORMATO"));
    m_txtFto_Impresion->setEsclave(true);
    m_txtFto_Impresion->setMayusculas(true);

    CrearCaja(m_fr[1], "txtProcedimiento", 0, 6135);
    m_etiqueta6 = CrearEtiqueta(m_fr[2], "Etiqueta6", QStringLiteral("Campos a recuperar:"),
                                QStringLiteral("CAMPOS A RECUPERAR"), 240, 120, 2055, 255);
    m_txtCampos1 = CrearCampo(m_fr[2], "txtCampos1", 2400, 120, 9870, 0);
    CrearCaja(m_fr[2], "txtProcedimiento2", 600, 5535);
    CrearCaja(m_fr[3], "txtProcedimiento3", 0, 6135);
    CrearCaja(m_fr[4], "txtProcedimiento4", 0, 6135);
    CrearCaja(m_fr[5], "txtProcedimiento5", 0, 6135);

    // Tab order of the design (the toolbar and the tab control come first by
    // creation); the host finds the key field as the first key-like field
    // along it.
    const QList<QWidget*> orden = {m_txtClave,           m_txtDescripcion,      m_txtPestania,
                                   m_txtTabla,           m_txtClave_Principal,  m_txtFto_Impresion,
                                   m_txtProcedimiento[0], m_txtCampos1,         m_txtProcedimiento[1],
                                   m_txtProcedimiento[2], m_txtProcedimiento[3], m_txtProcedimiento[4]};
    for (int i = 1; i < orden.size(); ++i)
        QWidget::setTabOrder(orden[i - 1], orden[i]);

    connect(m_txtClave, &orvinda::txtVEX::Cambio, this, &frmConfiguracion::txtClave_Cambio);
    connect(m_txtClave, &orvinda::txtVEX::Enter, this, &frmConfiguracion::txtClave_Enter);
    connect(m_controles, &orvinda::Controles::Guardar, this, &frmConfiguracion::Controles_Guardar);
    connect(m_controles, &orvinda::Controles::Nuevo, this, &frmConfiguracion::Controles_Nuevo);
    connect(m_controles, &orvinda::Controles::Modificar, this, &frmConfiguracion::Controles_Modificar);
    connect(m_controles, &orvinda::Controles::BotonExtra, this, &frmConfiguracion::Controles_BotonExtra);
    connect(m_controles, &orvinda::Controles::Cancelar, this, &frmConfiguracion::Controles_Cancelar);
    connect(m_controles, &orvinda::Controles::Eliminar, this, &frmConfiguracion::Controles_Eliminar);
    connect(m_controles, &orvinda::Controles::Reactivar, this, &frmConfiguracion::Controles_Reactivar);
    connect(m_controles, &orvinda::Controles::Informacion, this, &frmConfiguracion::Controles_Informacion);
    connect(m_controles, &orvinda::Controles::Salir, this, &frmConfiguracion::Controles_Salir);

    // The HTML box has no focus handlers: Tab leaves it as any other field.
    for (int i = 0; i < 4; ++i) {
        orvinda::RichTextBox* caja = m_txtProcedimiento[i];
        connect(caja, &orvinda::RichTextBox::GotFocus, this, [this] {
            bool enFoco = true;
            Tabulador(enFoco, *this);
        });
        connect(caja, &orvinda::RichTextBox::LostFocus, this, [this] {
            bool enFoco = false;
            Tabulador(enFoco, *this);
        });
    }
}

// ---------------------------------------------------------------- messages and traps

QVariant frmConfiguracion::Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& idError)
{
    // The box takes the activation away; getting it back is no new activation.
    ++m_dialogosPropios;
    const auto fin = qScopeGuard([this] { --m_dialogosPropios; });
    return Publico::Sistema->MostrarMensaje(mensaje, estilo, titulo, this, Modulo, idError);
}

void frmConfiguracion::Atrapar(const QString& titulo, const QString& idError, const std::function<void()>& cuerpo)
{
    try {
        cuerpo();
    } catch (const std::exception& e) {
        // A message box that cannot be shown leaves nothing more to do.
        Intentar([&] { Reportar(Descripcion(e), orvinda::Sistema::EstiloError, titulo, idError); });
    }
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
    Atrapar(QStringLiteral("Form_Activate()"), QStringLiteral("ERR-ID:7500047"), [this] { Form_Activate(); });
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
        Atrapar(QStringLiteral("Form_Load()"), QStringLiteral("ERR-ID:7500036"), [this] { Form_Load(); });
    if (evento->spontaneous())
        return;
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
    Atrapar(QStringLiteral("txtClave_Cambio()"), QStringLiteral("ERR-ID:7500046"), [this] {
        if (m_controles->EnEdicion() || m_copiando)
            return;
        m_controles->setHabilitarModificar(false);
        m_controles->setHabilitarEliminar(false);
        m_controles->setHabilitarInformacion(false);
        m_controles->setHabilitarReactivar(false);
        Publico::Utilerias->LimpiarForma(*this, 1);
        m_txtProcedimiento[0]->setText(QString());
        m_controles->setTextoBotonExtra(QString());
    });
}

void frmConfiguracion::txtClave_Enter()
{
    try {
        if (m_controles->EnEdicion())
            return;
        if (m_txtClave->Texto().isEmpty())
            return;
        m_txtClave->AplicarFormato();
        const QString clave = m_txtClave->Texto();

        Publico::CadenaSql = QStringLiteral("SELECT * FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '")
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
        for (int i : {0, 1, 2, 4})
            Publico::Utilerias->FormatearConsulta(*m_txtProcedimiento[i], 32);
        rs.Close();
    } catch (const std::exception& e) {
        Intentar([&] {
            Reportar(Descripcion(e), orvinda::Sistema::EstiloError, QStringLiteral("txtClave_Enter()"),
                     QStringLiteral("ERR-ID:7500024"));
        });
        Intentar([this] { m_controles->RestaurarBotones(); });
    }
}

// ---------------------------------------------------------------- saving

bool frmConfiguracion::ClaveLibre()
{
    const QString encontrada = Publico::Utilerias->BuscarValor(Tabla, ColumnaClave, m_txtClave->Texto(), ColumnaClave,
                                                               0, QString(), QString(), QString());
    if (encontrada.isEmpty())
        return true;

    const bool autoclave = ComoBooleano(
        Publico::Sistema->LeerParametro(QStringLiteral("CAT_AUTOCLAVE"), 0, QString(), QString()));
    if (!autoclave) {
        Reportar(QStringLiteral("La clave ya está asignada al perfil puesto") + encontrada,
                 orvinda::Sistema::EstiloAdvertencia, QStringLiteral("Orvinda"), QStringLiteral("ERR-ID:7500010"));
        m_txtClave->setFocus();
        m_controles->RestaurarBotones();
        return false;
    }

    const QVariant respuesta = Reportar(QStringLiteral("La clave, ya existe en la base de datos") + encontrada
                                            + QStringLiteral("\r\n") + QStringLiteral("¿Desea generar una nueva clave?"),
                                        orvinda::Sistema::EstiloPregunta, QStringLiteral("Generar nueva clave?"),
                                        QStringLiteral("ERR-ID:7500025"));
    if (respuesta.toInt() == orvinda::Sistema::RespuestaSi) {
        const qint32 siguiente = Publico::Utilerias->SiguienteClave(Tabla, ColumnaClave, QString(), QString(), QString(),
                                                                    QString(), QString(), QString(), QString());
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

QString frmConfiguracion::SentenciaInsertar(const QString& operador, const QString& fecha) const
{
    QString s;
    s += QStringLiteral("INSERT INTO Configuracion_Autorizacion(");
    s += QStringLiteral("   Ca_Cve_Configuracion_Autorizacion, ");
    s += QStringLiteral("   Ca_Descripcion,  ");
    s += QStringLiteral("   Ca_Etiqueta,  ");
    s += QStringLiteral("   Ca_Formato_Impresion,  ");
    s += QStringLiteral("   Ca_Tabla,  ");
    s += QStringLiteral("   Ca_Tabla_Clave,  ");
    s += QStringLiteral("   Ca_Sql,  ");
    s += QStringLiteral("   Ca_Sql_Autoriazion,  ");
    s += QStringLiteral("   Ca_Campos_Autorizar,  ");
    s += QStringLiteral("   Ca_Sql_Plantilla,  ");
    s += QStringLiteral("   Ca_Plantilla_Autorizacion,  ");
    s += QStringLiteral("   Ca_Sql_Rechazar,  ");
    s += QStringLiteral("   Fecha_Alta, ");
    s += QStringLiteral("   Fecha_Ult_Modif, ");
    s += QStringLiteral("   Oper_Alta, ");
    s += QStringLiteral("   Oper_Ult_Modif) ");
    s += QStringLiteral("   VALUES (");
    s += MarcoS(m_txtClave->Texto());
    s += MarcoS(m_txtDescripcion->Texto());
    s += MarcoS(m_txtPestania->Texto());
    s += MarcoS(m_txtFto_Impresion->Texto());
    s += MarcoS(m_txtTabla->Texto());
    s += MarcoS(m_txtClave_Principal->Texto());
    s += MarcoD(m_txtProcedimiento[0]->Text());
    s += MarcoD(m_txtProcedimiento[1]->Text());
    s += MarcoS(m_txtCampos1->Texto());
    s += MarcoD(m_txtProcedimiento[2]->Text());
    s += MarcoS(m_txtProcedimiento[3]->Text());
    s += MarcoD(m_txtProcedimiento[4]->Text());
    s += MarcoS(fecha);
    s += MarcoS(fecha);
    s += MarcoS(operador);
    s += QStringLiteral("   '") + Simple(operador) + QStringLiteral("')");
    return s;
}

QString frmConfiguracion::SentenciaActualizar(const QString& operador, const QString& fecha) const
{
    const QString dc = QStringLiteral("\"");
    QString s;
    s += QStringLiteral("UPDATE Configuracion_Autorizacion SET ");
    s += QStringLiteral("   Ca_Descripcion = '") + Simple(m_txtDescripcion->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Etiqueta = '") + Simple(m_txtPestania->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Formato_Impresion = '") + Simple(m_txtFto_Impresion->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Tabla = '") + Simple(m_txtTabla->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Tabla_Clave = '") + Simple(m_txtClave_Principal->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Sql = ") + dc + Doble(m_txtProcedimiento[0]->Text()) + dc + QStringLiteral(", ");
    s += QStringLiteral("   Ca_Sql_Autoriazion = ") + dc + Doble(m_txtProcedimiento[1]->Text()) + dc + QStringLiteral(", ");
    s += QStringLiteral("   Ca_Campos_Autorizar = '") + Simple(m_txtCampos1->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Sql_Plantilla = ") + dc + Doble(m_txtProcedimiento[2]->Text()) + dc + QStringLiteral(", ");
    s += QStringLiteral("   Ca_Plantilla_Autorizacion = '") + Simple(m_txtProcedimiento[3]->Text()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Sql_Rechazar = ") + dc + Doble(m_txtProcedimiento[4]->Text()) + dc + QStringLiteral(", ");
    s += QStringLiteral("   Oper_Ult_Modif = '") + Simple(operador) + QStringLiteral("', ");
    s += QStringLiteral("   Fecha_Ult_Modif = '") + Simple(fecha) + QStringLiteral("' ");
    s += QStringLiteral("WHERE Ca_Cve_Configuracion_Autorizacion = '") + Simple(m_txtClave->Texto()) + QStringLiteral("'");
    return s;
}

void frmConfiguracion::Controles_Guardar(bool& EsNuevo)
{
    bool comillasApagadas = false;
    try {
        if (EsNuevo && !ClaveLibre())
            return;
        if (!CamposCompletos())
            return;

        Publico::Sistema->ObtenerConexion().BeginTrans();
        const QString operador = Publico::Sistema->ObtenerOperador();
        const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());
        Publico::CadenaSql = QString();
        Publico::CadenaSql = EsNuevo ? SentenciaInsertar(operador, fecha) : SentenciaActualizar(operador, fecha);
        Publico::Sistema->ObtenerConexion().Execute(QStringLiteral("SET QUOTED_IDENTIFIER OFF"));
        comillasApagadas = true;
        Publico::Sistema->ObtenerConexion().Execute(Publico::CadenaSql);
        Publico::Sistema->ObtenerConexion().Execute(QStringLiteral("SET QUOTED_IDENTIFIER ON"));
        comillasApagadas = false;
        Publico::Sistema->ObtenerConexion().CommitTrans();
    } catch (const std::exception& e) {
        Publico::DeshacerTransaccion();
        // The shared connection must not stay with the OFF setting for the
        // other screens.
        if (comillasApagadas)
            Intentar([] { Publico::Sistema->ObtenerConexion().Execute(QStringLiteral("SET QUOTED_IDENTIFIER ON")); });
        Intentar([&] {
            Reportar(Descripcion(e), orvinda::Sistema::EstiloError, QStringLiteral("ERROR"), QStringLiteral("ERR-ID:7500020"));
        });
        Intentar([this] { m_controles->RestaurarBotones(); });
        return;
    }

    Atrapar(QStringLiteral("Controles_Guardar()"), QStringLiteral("ERR-ID:7500037"), [this] {
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
}

void frmConfiguracion::Controles_Nuevo()
{
    Atrapar(QStringLiteral("Controles_Nuevo()"), QStringLiteral("ERR-ID:7500040"), [this] { Nuevo(); });
}

void frmConfiguracion::Controles_Modificar()
{
    Atrapar(QStringLiteral("Controles_Modificar()"), QStringLiteral("ERR-ID:7500041"), [this] {
        m_txtClave->setHabilitado(false);
        Publico::Utilerias->HabilitarForma(*this, 1);
        m_txtDescripcion->setFocus();
        for (orvinda::RichTextBox* caja : m_txtProcedimiento)
            caja->setEnabled(true);
    });
}

void frmConfiguracion::Controles_BotonExtra()
{
    Atrapar(QStringLiteral("Controles_BotonExtra()"), QStringLiteral("ERR-ID:7500042"), [this] {
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
}

void frmConfiguracion::Controles_Cancelar()
{
    Atrapar(QStringLiteral("Controles_Cancelar()"), QStringLiteral("ERR-ID:7500043"), [this] { CancelarEdicion(); });
}

void frmConfiguracion::CambiarEstado(const std::function<QString(const QString&, const QString&)>& sentencia,
                                     const QString& titulo, const QString& idError, const QString& idDespues,
                                     bool limpiarDeNuevo)
{
    try {
        Publico::Sistema->ObtenerConexion().BeginTrans();
        const QString operador = Publico::Sistema->ObtenerOperador();
        const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());
        Publico::CadenaSql = QString();
        Publico::CadenaSql = sentencia(operador, fecha);
        Publico::Sistema->ObtenerConexion().Execute(Publico::CadenaSql);
        Publico::Sistema->ObtenerConexion().CommitTrans();
    } catch (const std::exception& e) {
        Publico::DeshacerTransaccion();
        Intentar([&] { Reportar(Descripcion(e), orvinda::Sistema::EstiloAdvertencia, titulo, idError); });
        return;
    }
    Atrapar(titulo, idDespues, [this, limpiarDeNuevo] {
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
        QStringLiteral("Controles_Eliminar"), QStringLiteral("ERR-ID:7500021"), QStringLiteral("ERR-ID:7500038"), false);
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
    Atrapar(QStringLiteral("Controles_Informacion()"), QStringLiteral("ERR-ID:7500044"), [this] {
        std::unique_ptr<orvinda::ConsultaRegistro> consulta = orvinda::TablaClases::Crear<orvinda::ConsultaRegistro>();
        ++m_dialogosPropios;
        const auto fin = qScopeGuard([this] { --m_dialogosPropios; });
        consulta->MostrarRegistro(Tabla, ColumnaClave, m_txtClave->Texto(), QString(), QString(), QString(), QString());
        consulta.reset();
    });
}

void frmConfiguracion::Controles_Salir()
{
    Atrapar(QStringLiteral("Controles_Salir()"), QStringLiteral("ERR-ID:7500045"), [this] { hide(); });
}

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
}

void frmConfiguracion::Form_QueryUnload()
{
    const int estado = EstadoVentana(*this);
    if (estado != 1 && estado != 2) {
        Intentar([this] { Escribir(QStringLiteral("Left"), QString::number(Twips::DesdePixeles(pos().x()))); });
        Intentar([this] { Escribir(QStringLiteral("Top"), QString::number(Twips::DesdePixeles(pos().y()))); });
        Intentar([this] {
            Escribir(QStringLiteral("Width"), QString::number(Twips::DesdePixeles(frameGeometry().width())));
        });
        Intentar([this] {
            Escribir(QStringLiteral("Height"), QString::number(Twips::DesdePixeles(frameGeometry().height())));
        });
    }
    if (estado != 1)
        Intentar([estado] { Escribir(QStringLiteral("WindowState"), QString::number(estado)); });
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
    Intentar([&] { Twips::SetWidth(m_ssTab, ancho - 2 * Twips::Left(m_ssTab)); });
    Intentar([&] { Twips::SetHeight(m_ssTab, alto - Twips::Top(m_ssTab) - 100); });
    for (int k = 0; k < 6; ++k) {
        Intentar([&] { Twips::SetHeight(m_fr[k], Twips::Height(m_ssTab) - Twips::Top(m_fr[k])); });
        Intentar([&] { Twips::SetWidth(m_fr[k], Twips::Width(m_ssTab)); });
        Intentar([&] { Twips::SetWidth(m_sh0[k], Twips::Width(m_ssTab)); });
    }
    for (orvinda::RichTextBox* caja : m_txtProcedimiento)
        Intentar([&] { Twips::SetWidth(caja, Twips::Width(m_sh0[0])); });
    // "Campos a recuperar:" reaches the right edge of its tab, less the margin
    // the tab control keeps from the window.
    Intentar([&] {
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
            Intentar([&] { m_tabStops[i] = LeerTabStop(control); });
            Intentar([&] { EscribirTabStop(control, false); });
        } else {
            Intentar([&] {
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
    int codigo = CodigoTecla(*tecla);
    if (codigo == 0)
        return false;
    const int shift = MascaraShift(tecla->modifiers());
    if (tipo == QEvent::KeyPress)
        Atrapar(QStringLiteral("Form_KeyDown()"), QStringLiteral("ERR-ID:7500048"), [&] { Form_KeyDown(codigo, shift); });
    else
        Atrapar(QStringLiteral("Form_KeyUp()"), QStringLiteral("ERR-ID:7500049"), [&] { Form_KeyUp(codigo, shift); });
    // A key the window acted on goes no further, so no field (nor the
    // dialog's own Escape) acts on it again. Alt with a tab's digit types
    // nothing on its way down either.
    if (tipo == QEvent::KeyPress && shift == 4 && codigo >= 49 && codigo <= 54)
        return true;
    return codigo == 0;
}

} // namespace rm640
