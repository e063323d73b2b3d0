// The refresh: the configurations read, one tab per kind, each list filled
// in turn, and the tabs and elements loaded for them.

#include "inbox/frmRM640.h"

#include "host/controles/Controles.h"
#include "host/controles/Frame.h"
#include "host/controles/ListView.h"
#include "host/controles/MatrizControles.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/SSTab.h"
#include "host/controles/Shape.h"
#include "host/controles/Twips.h"
#include "host/controles/colorVEX.h"
#include "host/datos/Campo.h"
#include "host/datos/Conexion.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

using orvinda::ErrorRm;
using orvinda::Twips;

namespace rm640 {

namespace {

ErrorRm YaCargado(const char* control, int i)
{
    return ErrorRm(QStringLiteral("El objeto ya está cargado: %1(%2)").arg(QLatin1String(control)).arg(i), 360);
}

} // namespace

void frmRM640::VolverAlDiseno()
{
    while (m_lista.size() > 1) {
        delete m_lista.takeLast();
        delete m_marco.takeLast();
        delete m_barra.takeLast();
    }
    if (m_ssTab->Tabs() > 1)
        m_ssTab->setTabs(1);
    m_ssTab->setTabCaption(0, QStringLiteral("DATOS"));
    m_ssTab->setTabsPerRow(1);
    m_lista[0]->ListItemsClear();
    m_lista[0]->ColumnHeadersClear();
    m_lista[0]->ColumnHeadersAdd(QStringLiteral("Folio"), 1440);
    m_clavesConfiguracion.clear();
}

void frmRM640::CargarElemento(int i)
{
    if (i < m_marco.size())
        throw YaCargado("fr0", i);
    QWidget* pagina = m_ssTab->Pagina(m_ssTab->Tab());

    auto* marco = new orvinda::Frame(pagina);
    marco->setObjectName(QStringLiteral("fr0"));
    marco->setIndex(i);
    m_marco.append(marco);
    const orvinda::Frame* marcoAnterior = m_marco[i - 1];
    Twips::Mover(marco, 0, Twips::Top(marcoAnterior), Twips::Width(marcoAnterior), Twips::Height(marcoAnterior));
    marco->setVisible(true);

    auto* barra = new orvinda::Shape(pagina);
    barra->setObjectName(QStringLiteral("sh0"));
    barra->setIndex(i);
    barra->setFillColor(m_barra[i - 1]->FillColor());
    m_barra.append(barra);
    const orvinda::Shape* barraAnterior = m_barra[i - 1];
    Twips::Mover(barra, 0, Twips::Top(barraAnterior), Twips::Width(barraAnterior), Twips::Height(barraAnterior));
    barra->setVisible(true);

    auto* lista = new orvinda::ListView(marco);
    lista->setObjectName(QStringLiteral("lvInsidencias"));
    lista->setIndex(i);
    m_lista.append(lista);
    ConectarLista(lista);
    lista->setVisible(true);
    const orvinda::ListView* listaAnterior = m_lista[i - 1];
    Twips::SetWidth(lista, Twips::Width(listaAnterior));
    Twips::SetHeight(lista, Twips::Height(listaAnterior));
    Twips::SetTop(lista, Twips::Top(listaAnterior));
    Twips::SetLeft(lista, Twips::Left(listaAnterior));
    lista->ListItemsClear();
}

void frmRM640::LlenarLista(const QString& consulta, int i,
                           std::function<void(const QString& error, bool cancelado)> alTerminar)
{
    LlenarLista(consulta, lvInsidencias(i), std::move(alTerminar));
    lvInsidencias(i).setEnabled(true);
}

void frmRM640::LlenarLista(const QString& consulta, orvinda::ListView& lista,
                           std::function<void(const QString& error, bool cancelado)> alTerminar)
{
    auto unaVez = std::make_shared<QMetaObject::Connection>();
    *unaVez = connect(&lista, &orvinda::ListView::LlenadoTerminado, this,
                      [unaVez, alTerminar = std::move(alTerminar)](const QString& error, bool cancelado) {
                          QObject::disconnect(*unaVez);
                          alTerminar(error, cancelado);
                      });
    bool bandera = true;
    try {
        Publico::Utilerias->LlenarLista(consulta, lista, bandera);
    } catch (...) {
        disconnect(*unaVez);
        throw;
    }
}

QVector<frmRM640::FilaConfiguracion> frmRM640::LeerConfiguraciones()
{
    Publico::CadenaSql = QString();
    Publico::CadenaSql += QStringLiteral(" SELECT ");
    Publico::CadenaSql += QStringLiteral(" Ca_Cve_Configuracion_Autorizacion as ID, ");
    Publico::CadenaSql += QStringLiteral(" Ca_Etiqueta , ");
    Publico::CadenaSql += QStringLiteral(" Ca_Sql  ");
    Publico::CadenaSql += QStringLiteral(" FROM Configuracion_Autorizacion ");
    Publico::CadenaSql += QStringLiteral(" where  Es_Cve_Estado <> 'BA' ");
    orvinda::Conexion& conexion = Publico::Sistema->ObtenerConexion();
    m_conexionRefresco = &conexion;
    Escuchar(conexion);
    orvinda::Recordset rs = conexion.Execute(Publico::CadenaSql);
    QVector<FilaConfiguracion> filas;
    while (!rs.Eof()) {
        filas.append({rs.Fields(QStringLiteral("ID")).Value(), rs.Fields(QStringLiteral("Ca_Etiqueta")).Value(),
                      rs.Fields(QStringLiteral("Ca_Sql")).Value()});
        rs.MoveNext();
    }
    rs.Close();
    OrdenarPorClave(filas);
    return filas;
}

void frmRM640::OrdenarPorClave(QVector<FilaConfiguracion>& filas)
{
    // The statement has no order: the rows are put in the order of their
    // keys, so each tab keeps its place (and its Alt digit) on every engine.
    // Keys of digits only go by their number.
    const auto clave = [](const QVariant& v) { return v.isNull() ? QString() : v.toString().trimmed(); };
    std::stable_sort(filas.begin(), filas.end(), [&](const FilaConfiguracion& a, const FilaConfiguracion& b) {
        const QString ka = clave(a.id);
        const QString kb = clave(b.id);
        bool na = false, nb = false;
        const qulonglong va = ka.toULongLong(&na);
        const qulonglong vb = kb.toULongLong(&nb);
        if (na && nb && va != vb)
            return va < vb;
        if (na != nb)
            return na;
        return ka < kb;
    });
}

void frmRM640::Actualizar_Autorizaciones()
{
    DetenerReposo();
    m_refrescando = true;
    for (int i = 0; i < m_lista.size() && i < m_clavesConfiguracion.size(); ++i)
        m_orden.insert(m_clavesConfiguracion[i],
                       {m_lista[i]->Modelo().ColumnaOrden(), m_lista[i]->Modelo().SentidoOrden()});
    bool hayFilas = false;
    Trampa::Atrapar(*this, QStringLiteral("Actualizar_Autorizaciones()"), QStringLiteral("ERR-ID:7500003"), [&] {
        if (m_lista.size() > 1 || m_ssTab->Tabs() > 1 || !m_clavesConfiguracion.isEmpty())
            VolverAlDiseno();
        m_totalPestanias = 0;
        m_fila = -1;
        m_filas = LeerConfiguraciones();

        if (m_filas.isEmpty()) {
            Reportar(QStringLiteral("No existe información"), orvinda::Sistema::EstiloAdvertencia,
                     QStringLiteral("Actualizar_Autorizaciones()"), QStringLiteral("ERR-ID:7500001"));
            m_controles->RestaurarBotones();
            return;
        }
        hayFilas = true;
    });
    if (hayFilas)
        SiguienteConfiguracion();
    else
        TerminarRefresco();
}

void frmRM640::CrearPestania(int i, const QString& clave, const QString& etiqueta)
{
    m_ssTab->setTabsPerRow(m_ssTab->Tabs() + i);
    const QString titulo = QStringLiteral("&") + QString::number(i + 1) + etiqueta;
    m_clavesConfiguracion.resize(i + 1);
    m_clavesConfiguracion[i] = clave;
    if (i == 0) {
        m_ssTab->setTabCaption(m_ssTab->Tabs() - 1, titulo);
    } else {
        m_ssTab->setTabs(m_ssTab->Tabs() + 1);
        m_ssTab->setTabCaption(m_ssTab->Tabs() - 1, titulo);
        m_ssTab->setTab(m_ssTab->Tabs() - 1);
        CargarElemento(i);
    }
    m_lista[i]->setAccessibleName(QStringLiteral("Documentos de %1").arg(etiqueta));
}

void frmRM640::SiguienteConfiguracion()
{
    bool llenando = false;
    Trampa::Atrapar(*this, QStringLiteral("Actualizar_Autorizaciones()"), QStringLiteral("ERR-ID:7500003"), [&] {
        if (m_fila + 1 >= m_filas.size()) {
            m_cargado = true;
            m_ssTab->setTab(m_ssTab->Tabs() - (m_fila + 1));
            m_colorVEX->AplicarColores();
            m_controles->setTextoAuxiliar(QString());
            AlTerminarLectura(true);
            return;
        }
        const qint16 i = ++m_fila;
        const FilaConfiguracion& fila = m_filas[i];
        ++m_totalPestanias;
        const QString etiqueta = orvinda::Campo(QStringLiteral("Ca_Etiqueta"), fila.etiqueta).Texto();
        const QString clave = orvinda::Campo(QStringLiteral("ID"), fila.id).Texto();
        CrearPestania(i, clave, etiqueta);
        const QString consulta = orvinda::Campo(QStringLiteral("Ca_Sql"), fila.sql).Texto();
        if (i == 0 && consulta.isEmpty()) {
            Reportar(QStringLiteral("La consulta <REQUISICION_COMPRA_PENDIENTE> no está configurada"),
                     orvinda::Sistema::EstiloAdvertencia, QStringLiteral("Atención"), QStringLiteral("ERR-ID:7500002"));
            return;
        }
        // Each kind keeps the order its list had: sorted once, as it fills.
        const auto orden = m_orden.value(m_clavesConfiguracion[i], {-1, Qt::AscendingOrder});
        m_lista[i]->OrdenarPor(orden.first, orden.second);
        LlenarLista(consulta, i,
                    [this](const QString& error, bool cancelado) { AlLlenarConfiguracion(error, cancelado); });
        llenando = true;
    });
    if (!llenando)
        TerminarRefresco();
}

void frmRM640::AlLlenarConfiguracion(const QString& error, bool cancelado)
{
    if (!error.isEmpty()) {
        Trampa::Intentar([&] {
            Reportar(error, orvinda::Sistema::EstiloError, QStringLiteral("Actualizar_Autorizaciones()"),
                     QStringLiteral("ERR-ID:7500003"));
        });
        TerminarRefresco();
        return;
    }
    if (cancelado) {
        // The reviewer stopped it: what was read stays, and only F5 reads again.
        m_cargado = true;
        m_controles->setTextoAuxiliar(QStringLiteral("Carga interrumpida: F5 vuelve a leer"));
        AlTerminarLectura(false);
        TerminarRefresco();
        return;
    }
    SiguienteConfiguracion();
}

void frmRM640::TerminarRefresco()
{
    m_refrescando = false;
    m_filas.clear();
    m_conexionRefresco = nullptr;
    // The keys start on the list: arrows move, Enter opens. A window manager
    // that activates the window before its lists exist leaves the keys on
    // the tab bar, which the first fill takes back unless the filter has them.
    const int i = m_ssTab->Tab();
    QWidget* foco = QApplication::focusWidget();
    const bool primera = !m_focoInicialPuesto;
    m_focoInicialPuesto = true;
    if (i >= 0 && i < m_lista.size() && (!isAncestorOf(foco) || (primera && foco != m_filtro)))
        m_lista[i]->setFocus();
    if (m_trasRefresco) {
        const auto restaurar = std::move(m_trasRefresco);
        m_trasRefresco = nullptr;
        Trampa::Intentar(restaurar);
    }
    emit Llenada();
    if (m_refrescoPendiente) {
        m_refrescoPendiente = false;
        Refrescar();
    }
}

} // namespace rm640
