// The editor's controls, as designed.

#include "editor/frmConfiguracion.h"

#include "host/controles/Controles.h"
#include "host/controles/Etiqueta.h"
#include "host/controles/Frame.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/Shape.h"
#include "host/controles/Twips.h"
#include "host/controles/colorVEX.h"
#include "host/controles/ssTbVex.h"
#include "host/controles/txtVEX.h"

#include <QTabBar>
#include <QToolButton>

using orvinda::Twips;

namespace rm640 {

namespace {

// Tab k shows bar element BarraDePestania[k].
constexpr int BarraDePestania[6] = {0, 2, 1, 3, 4, 5};

QFont Fuente(const QString& familia, double puntos, bool negrita = false)
{
    QFont f(familia);
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    return f;
}

} // namespace

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
    const QStringList titulos = {QStringLiteral("General"),          QStringLiteral("SQL selección de datos"),
                                 QStringLiteral("SQL autorización"), QStringLiteral("SQL plantilla"),
                                 QStringLiteral("HTML plantilla"),   QStringLiteral("SQL rechazar")};
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

    CrearEtiqueta(general, "Etiqueta2", QStringLiteral("Descripción:"), QStringLiteral("Descripción"), 0, 480, 1695,
                  255);
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

    // Beside the key: every configuration that exists, to open one (F2 too).
    m_cmdBuscar = new QToolButton(general);
    m_cmdBuscar->setObjectName(QStringLiteral("cmdBuscar"));
    m_cmdBuscar->setText(QStringLiteral("Buscar…"));
    m_cmdBuscar->setToolTip(QStringLiteral("Lista las configuraciones que existen, eliminadas incluidas (F2)"));
    m_cmdBuscar->setAccessibleName(QStringLiteral("Buscar configuración"));
    m_cmdBuscar->setFocusPolicy(Qt::TabFocus);
    m_cmdBuscar->setFont(Fuente(QStringLiteral("Calibri"), 8.25));
    Twips::Mover(m_cmdBuscar, 3855, 120, 1095, 300);
    connect(m_cmdBuscar, &QToolButton::clicked, this, &frmConfiguracion::Buscar);

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
    const QList<QWidget*> orden
        = {m_txtClave,           m_cmdBuscar,           m_txtDescripcion,      m_txtPestania,
           m_txtTabla,           m_txtClave_Principal,  m_txtFto_Impresion,    m_txtProcedimiento[0],
           m_txtCampos1,         m_txtProcedimiento[1], m_txtProcedimiento[2], m_txtProcedimiento[3],
           m_txtProcedimiento[4]};
    for (int i = 1; i < orden.size(); ++i)
        QWidget::setTabOrder(orden[i - 1], orden[i]);

    // Each field is named by its label, for whoever reads the window aloud;
    // the statement boxes by their tab.
    const std::pair<const char*, QWidget*> etiquetas[]
        = {{"Label9", m_txtClave},     {"Etiqueta2", m_txtDescripcion},     {"Label10", m_txtPestania},
           {"Etiqueta4", m_txtTabla},  {"Etiqueta5", m_txtClave_Principal}, {"Etiqueta8", m_txtFto_Impresion},
           {"Etiqueta6", m_txtCampos1}};
    for (const auto& [nombre, campo] : etiquetas)
        if (auto* etiqueta = findChild<orvinda::Etiqueta*>(QLatin1String(nombre))) {
            etiqueta->setBuddy(campo);
            campo->setAccessibleName(etiqueta->caption().remove(u':').trimmed());
        }
    for (int i = 0; i < m_txtProcedimiento.size(); ++i)
        m_txtProcedimiento[i]->setAccessibleName(titulos[i + 1]);
    m_ssTab->setAccessibleName(QStringLiteral("Secciones de la configuración"));

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

} // namespace rm640
