#include "inbox/frmRM640.h"

#include "editor/frmConfiguracion.h"
#include "host/controles/AjusteVentana.h"
#include "host/controles/Controles.h"
#include "host/controles/Frame.h"
#include "host/controles/ListView.h"
#include "host/controles/MatrizControles.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/SSTab.h"
#include "host/controles/Shape.h"
#include "host/controles/Twips.h"
#include "host/controles/colorVEX.h"
#include "host/datos/AvisosServidor.h"
#include "host/datos/Conexion.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "publico/FormaUnica.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/RevisionDocumento.h"
#include "review/frmAutorizacion.h"

#include <QApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaMethod>
#include <QShowEvent>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

using orvinda::ErrorRm;
using orvinda::Twips;

namespace rm640 {

namespace {

// Calls a member of obj by name and without arguments, as late binding does:
// an invokable method or slot first, then a property.
QVariant LlamarPorNombre(QObject* obj, const char* nombre)
{
    const QMetaObject* mo = obj->metaObject();
    for (int i = 0; i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        if (m.name() != nombre || m.parameterCount() != 0 || m.methodType() == QMetaMethod::Signal)
            continue;
        const QMetaType tipo = m.returnMetaType();
        if (!tipo.isValid() || tipo.id() == QMetaType::Void) {
            if (!m.invoke(obj, Qt::DirectConnection))
                break;
            return QVariant();
        }
        QVariant resultado(tipo);
        if (!m.invoke(obj, Qt::DirectConnection, QGenericReturnArgument(tipo.name(), resultado.data())))
            break;
        return resultado;
    }
    const int p = mo->indexOfProperty(nombre);
    if (p >= 0)
        return mo->property(p).read(obj);
    throw ErrorRm(QStringLiteral("El objeto no admite esta propiedad o método: %1").arg(QLatin1String(nombre)), 438);
}

} // namespace

frmRM640& frmRM640::Instancia()
{
    return FormaUnica<frmRM640>::Obtener([] { return new frmRM640(); });
}

bool frmRM640::ExisteInstancia()
{
    return FormaUnica<frmRM640>::Existe();
}

frmRM640::frmRM640(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmRM640"));
    // The title is carried by the toolbar; the form's own caption stays empty.
    setWindowTitle(QString());
    resize(Twips::APixeles(AnchoDiseno), Twips::APixeles(AltoDiseno));
    setAutoFillBackground(true);

    m_colorVEX = new orvinda::colorVEX(this);
    m_colorVEX->setObjectName(QStringLiteral("colorVEX"));

    m_abrirConfiguracion = &frmConfiguracion::AbrirDesdeBandeja;

    m_controles = new orvinda::Controles(this);
    m_controles->setObjectName(QStringLiteral("Controles"));
    m_controles->setCaption(QStringLiteral("Autorizacion de operaciones"));
    m_controles->setTabwidth(0);
    m_controles->setEasyaccessenabled(QStringLiteral("NO"));
    m_controles->setShowmenupopup(QStringLiteral("NO"));
    m_controles->setShowwindowslist(QStringLiteral("SI"));
    m_controles->setShowexitbutton(QStringLiteral("SI"));
    Twips::Mover(m_controles, 0, 0, 13530, 960);
    connect(m_controles, &orvinda::Controles::Salir, this, &frmRM640::Controles_Salir);
    connect(m_controles, &orvinda::Controles::BotonExtra, this, &frmRM640::Controles_BotonExtra);

    m_ssTab = new orvinda::SSTab(this);
    m_ssTab->setObjectName(QStringLiteral("SSTab"));
    QFont fuente(QStringLiteral("Franklin Gothic Medium"));
    fuente.setPointSizeF(8.25);
    fuente.setBold(false);
    m_ssTab->setFont(fuente);
    m_ssTab->setTabs(1);
    m_ssTab->setTabCaption(0, QStringLiteral("DATOS"));
    Twips::Mover(m_ssTab, 120, 1080, 12975, 5775);

    auto* barra = new orvinda::Shape(m_ssTab->Pagina(0));
    barra->setObjectName(QStringLiteral("sh0"));
    barra->setIndex(0);
    barra->setFillColor(QColor(180, 201, 75));
    Twips::Mover(barra, 0, 420, 12135, 135);
    auto* marco = new orvinda::Frame(m_ssTab->Pagina(0));
    marco->setObjectName(QStringLiteral("fr0"));
    marco->setIndex(0);
    Twips::Mover(marco, 0, 540, 12135, 4695);
    auto* lista = new orvinda::ListView(marco);
    lista->setObjectName(QStringLiteral("lvInsidencias"));
    lista->setIndex(0);
    lista->ColumnHeadersAdd(QStringLiteral("Folio"), 1440);
    Twips::Mover(lista, 0, 0, 11175, 2655);
    m_barra = {barra};
    m_marco = {marco};
    m_lista = {lista};
    ConectarLista(lista);
    PrepararTriaje();
    PrepararHistorial();
    m_ssTab->setAccessibleName(QStringLiteral("Tipos de documento"));
    lista->setAccessibleName(QStringLiteral("Documentos"));
    // Tab goes round in reading order along the toolbar: the filter, the
    // bulk command, "Historial", "Configuración", "Salir"; then the kinds
    // and the list.
    auto* extra = m_controles->findChild<QWidget*>(QStringLiteral("cmdExtra"));
    auto* salir = m_controles->findChild<QWidget*>(QStringLiteral("cmdSalir"));
    setTabOrder(m_filtro, m_autorizarSeleccionados);
    setTabOrder(m_autorizarSeleccionados, m_historial);
    if (extra && salir) {
        setTabOrder(m_historial, extra);
        setTabOrder(extra, salir);
    }

    // The live inbox: any key or click anywhere in the application counts
    // as activity; the idle refresh waits for RM640_REFRESCO_SEG without it.
    m_actividad.start();
    m_reposo = new QTimer(this);
    m_reposo->setObjectName(QStringLiteral("tmrReposo"));
    m_reposo->setSingleShot(true);
    connect(m_reposo, &QTimer::timeout, this, &frmRM640::AlVencerReposo);
    qApp->installEventFilter(this);
}

frmRM640::~frmRM640()
{
    qApp->removeEventFilter(this);
    DetenerReposo();
    // Lists that go with the form say nothing more to it.
    for (orvinda::ListView* lista : m_lista) {
        lista->disconnect(this);
        lista->Modelo().disconnect(this);
    }
}

QObject* frmRM640::Padre() const
{
    return m_padre.data();
}

void frmRM640::setPadre(QObject* valor)
{
    m_padre = valor;
}

QObject& frmRM640::PadreEstablecido() const
{
    if (!m_padre)
        throw ErrorRm(QStringLiteral("El objeto Padre de la pantalla no está establecido."), 91);
    return *m_padre;
}

QString frmRM640::Transaccion() const
{
    QString texto = LlamarPorNombre(&PadreEstablecido(), "Transaccion").toString();
    QString aplicacion = QStringLiteral("Orvinda");
    return Publico::Utilerias->ObtenerTransaccion(texto, aplicacion);
}

orvinda::Shape& frmRM640::sh0(int i) const
{
    return orvinda::MatrizControles::Elemento(m_barra, i);
}

orvinda::Frame& frmRM640::fr0(int i) const
{
    return orvinda::MatrizControles::Elemento(m_marco, i);
}

orvinda::ListView& frmRM640::lvInsidencias(int i) const
{
    return orvinda::MatrizControles::Elemento(m_lista, i);
}

void frmRM640::Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& id)
{
    Trampa::Mostrar(this, mensaje, estilo, titulo, id);
    m_ultimoMensaje.start();
}

void frmRM640::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    if (!m_formaCargada)
        Trampa::Atrapar(*this, QStringLiteral("Form_Load()"), QStringLiteral("ERR-ID:7500031"),
                        [this] { Form_Load(); });
    // Its activations reach eventFilter through the application's filter.
    m_ventanaObservada = window();
    // A window of its own fits the screen it opens on.
    if (isWindow() && !evento->spontaneous())
        orvinda::AjusteVentana::CaberEnPantalla(*this);
    // The first showing activates the form even where the window system
    // sends no activation (offscreen, or a window that is not focused).
    QTimer::singleShot(0, this, [this] {
        if (!m_cargado && isVisible())
            Form_Activate();
    });
}

bool frmRM640::eventFilter(QObject* objeto, QEvent* evento)
{
    switch (evento->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        // Someone is at the keys: an idle refresh under way stops unseen.
        m_actividad.restart();
        if (m_leyendoReposo >= 0)
            DetenerReposo();
        break;
    default: break;
    }
    // Down in the filter box goes on to the list, as in a search box.
    if (evento->type() == QEvent::KeyPress && objeto == m_filtro
        && static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Down
        && !(static_cast<QKeyEvent*>(evento)->modifiers() & ~Qt::KeypadModifier)) {
        if (const int i = ListaMostrada(); i >= 0) {
            m_lista[i]->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    // Alt and a tab's digit take the keys to that tab's list, even when that
    // tab was the one already shown.
    if (evento->type() == QEvent::Shortcut && m_ssTab && objeto->parent() == m_ssTab && qobject_cast<QTabBar*>(objeto))
        QTimer::singleShot(0, this, [this] {
            if (const int i = ListaMostrada(); i >= 0)
                m_lista[i]->setFocus(Qt::ShortcutFocusReason);
        });
    // The window comes back to the front when one of our own message boxes
    // closes; that is not a new activation of the screen.
    const bool trasMensaje = m_ultimoMensaje.isValid() && m_ultimoMensaje.elapsed() < 500;
    if (objeto == m_ventanaObservada && evento->type() == QEvent::WindowActivate && !m_refrescando && !trasMensaje)
        QTimer::singleShot(0, this, &frmRM640::Form_Activate);
    return QWidget::eventFilter(objeto, evento);
}

void frmRM640::resizeEvent(QResizeEvent* evento)
{
    QWidget::resizeEvent(evento);
    Form_Resize();
}

void frmRM640::Form_Load()
{
    m_formaCargada = true;
    m_colorVEX->AplicarColores();
    if (Publico::Sistema->NivelSistema() >= 4)
        m_controles->setTextoBotonExtra(QStringLiteral("Configuración"));
    m_totalPestanias = 0;
    m_cargado = false;
}

void frmRM640::Form_Activate()
{
    if (m_refrescando || m_cargado)
        return;
    Actualizar_Autorizaciones();
}

void frmRM640::Form_Resize()
{
    const int ancho = Twips::DesdePixeles(width());
    const int alto = Twips::DesdePixeles(height());
    // The header band spans the window, so its commands stay in sight.
    Trampa::Intentar([&] { Twips::SetWidth(m_controles, ancho); });
    Trampa::Intentar([&] { Twips::SetWidth(m_ssTab, ancho - 2 * Twips::Left(m_ssTab)); });
    Trampa::Intentar([&] { Twips::SetHeight(m_ssTab, alto - Twips::Top(m_ssTab) - 100); });
    Trampa::Intentar([&] { Twips::SetWidth(m_barra[0], Twips::Width(m_ssTab)); });
    Trampa::Intentar([&] { Twips::SetWidth(m_marco[0], Twips::Width(m_ssTab)); });
    Trampa::Intentar([&] { Twips::SetHeight(m_marco[0], Twips::Height(m_ssTab) - Twips::Top(m_marco[0])); });
    Trampa::Intentar([&] { Twips::SetWidth(m_lista[0], Twips::Width(m_marco[0])); });
    Trampa::Intentar([&] { Twips::SetHeight(m_lista[0], Twips::Height(m_marco[0]) - Twips::Top(m_lista[0]) - 100); });
    Trampa::Intentar([&] { AjustarPestanias(); });
    Trampa::Intentar([&] { AjustarCuentas(); });
}

void frmRM640::AjustarPestanias()
{
    const int total = m_totalPestanias;
    if (total == 0)
        return;
    for (int i = 1; i <= total - 1; ++i) {
        Twips::SetWidth(&sh0(i), Twips::Width(&sh0(i - 1)));
        Twips::SetWidth(&fr0(i), Twips::Width(&fr0(i - 1)));
        Twips::SetHeight(&fr0(i), Twips::Height(&fr0(i - 1)));
        Twips::SetWidth(&lvInsidencias(i), Twips::Width(&lvInsidencias(i - 1)));
        Twips::SetHeight(&lvInsidencias(i), Twips::Height(&lvInsidencias(i - 1)));
        Twips::SetTop(&lvInsidencias(i), Twips::Top(&lvInsidencias(i - 1)));
        Twips::SetLeft(&lvInsidencias(i), Twips::Left(&lvInsidencias(i - 1)));
    }
}

void frmRM640::Controles_Salir()
{
    Trampa::Atrapar(*this, QStringLiteral("Controles_Salir()"), QStringLiteral("ERR-ID:7500029"), [this] {
        QObject* padre = &PadreEstablecido();
        if (padre->metaObject()->indexOfMethod("Unload()") >= 0)
            QMetaObject::invokeMethod(padre, "Unload", Qt::DirectConnection);
        else if (auto* w = qobject_cast<QWidget*>(padre))
            w->close();
        else
            throw ErrorRm(QStringLiteral("El objeto no admite esta propiedad o método: Unload"), 438);
    });
}

void frmRM640::Controles_BotonExtra()
{
    Trampa::Atrapar(*this, QStringLiteral("Controles_BotonExtra()"), QStringLiteral("ERR-ID:7500030"), [this] {
        if (m_abrirConfiguracion)
            m_abrirConfiguracion();
    });
}

void frmRM640::ConectarLista(orvinda::ListView* lista)
{
    connect(lista, &orvinda::ListView::DblClick, this, [this, lista] { lvInsidencias_DblClick(lista->Index()); });
    // Enter opens the document as a double click does: same handler, same index.
    connect(lista, &orvinda::ListView::Aceptar, this, [this, lista] { lvInsidencias_DblClick(lista->Index()); });
    lista->setMultiSelect(true);
    connect(lista, &orvinda::ListView::Recorrida, this, [this, lista] { MarcarVistos(lista->Index()); });
    const auto cuenta = [this, lista] { ActualizarCuenta(lista->Index()); };
    connect(&lista->Modelo(), &QAbstractItemModel::modelReset, this, cuenta);
    connect(&lista->Modelo(), &QAbstractItemModel::rowsInserted, this, cuenta);
    connect(&lista->Modelo(), &QAbstractItemModel::rowsRemoved, this, cuenta);
    connect(lista->selectionModel(), &QItemSelectionModel::selectionChanged, this, &frmRM640::ActualizarComandos);
    // A list read whole since a failed idle refresh: that failure is old news.
    connect(lista, &orvinda::ListView::LlenadoTerminado, this, [this](const QString& error, bool cancelado) {
        if (error.isEmpty() && !cancelado && m_controles->TextoAuxiliar().startsWith(PrefijoFallaReposo))
            m_controles->setTextoAuxiliar(QString());
    });
}

void frmRM640::lvInsidencias_DblClick(int Index)
{
    // Nothing is opened from a list still being read.
    if (m_refrescando || (Index >= 0 && Index < m_lista.size() && m_lista[Index]->Llenando()))
        return;
    // A list left behind by a refresh that stopped early has no key: it
    // holds nothing to open, and says so where the state is shown.
    if (Index < 0 || Index >= m_clavesConfiguracion.size()) {
        m_controles->setTextoAuxiliar(QStringLiteral("Esta pestaña no tiene documentos que abrir: F5 vuelve a leer"));
        return;
    }
    const QString clave = m_clavesConfiguracion[Index];

    Trampa::Atrapar(*this, QStringLiteral("Actualizar_Autorizaciones()"), QStringLiteral("ERR-ID:7500004"), [&] {
        const QString tablaConfiguracion = QStringLiteral("Configuracion_Autorizacion");
        const QString columnaClave = QStringLiteral("Ca_Cve_Configuracion_Autorizacion");
        const QString tabla = Publico::Utilerias->BuscarValor(
            tablaConfiguracion, columnaClave, clave, QStringLiteral("Ca_Tabla"), 0, QString(), QString(), QString());
        const QString campos = Publico::Utilerias->BuscarValor(tablaConfiguracion, columnaClave, clave,
                                                               QStringLiteral("Ca_Campos_Autorizar"), 0, QString(),
                                                               QString(), QString());
        const QString consulta = Publico::Utilerias->BuscarValor(
            tablaConfiguracion, columnaClave, clave, QStringLiteral("Ca_Sql"), 0, QString(), QString(), QString());

        orvinda::ListView& lista = lvInsidencias(Index);
        // A list without any item to select has no selected item at all.
        if (!lista.HaySeleccion())
            throw ErrorRm(QStringLiteral("No hay ningún documento seleccionado en la lista."), 91);
        const QString folio = lista.SelectedItem();
        if (folio.isEmpty())
            return;

        const QString plantilla = ObtenerPlantilla(clave, folio);
        if (plantilla.isEmpty())
            return;

        frmAutorizacion& dialogo = frmAutorizacion::Load(this);
        dialogo.setPlantilla(plantilla);
        dialogo.setTabla(tabla);
        dialogo.setFolio(folio);
        dialogo.setCampos(campos);
        dialogo.setClave(clave);
        const std::shared_ptr<bool> recargada = Recorrer(dialogo, Index, {clave, tabla, campos, consulta});
        dialogo.exec();

        // A decision whose reload the dialog already asked for is not read twice.
        if (dialogo.Procesado() && !*recargada)
            RecargarTrasDecision(Index, consulta, {});
        frmAutorizacion::Unload();
    });
}

QString frmRM640::ObtenerPlantilla(const QString& clave, const QString& folio)
{
    QString resultado;
    const auto rehusar = [this](const QString& descripcion) {
        Reportar(descripcion, orvinda::Sistema::EstiloInformacion, QStringLiteral("Orvinda"),
                 QStringLiteral("ERR-ID:7500061"));
    };
    Trampa::Atrapar(*this, QStringLiteral("Actualizar_Autorizaciones()"), QStringLiteral("ERR-ID:7500005"), rehusar,
                    [&] { resultado = RevisionDocumento::Renderizar(clave, folio); });
    return resultado;
}

} // namespace rm640
