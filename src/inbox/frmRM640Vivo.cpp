// The inbox at a glance and up to date: the age of each document against
// the server's date, the marks of late, urgent and new documents, the
// pending total in the window's title, and the idle refresh that reads every
// listing again unseen and puts the rows in place only when all were read.
#include "config/Parametros.h"
#include "editor/frmConfiguracion.h"
#include "host/controles/Controles.h"
#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/SSTab.h"
#include "host/controles/colorVEX.h"
#include "host/datos/Campo.h"
#include "host/datos/Conexion.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/Utilerias.h"
#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/AutorizacionEnLote.h"
#include "review/frmAutorizacion.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTime>
#include <QTimer>

namespace rm640 {

namespace {

// A parameter that reads as a whole number of at least minimo; omision otherwise.
int Entero(orvinda::Conexion* conexion, const QString& clave, int omision, int minimo)
{
    if (!conexion)
        return omision;
    bool ok = false;
    const int valor = Parametros::Leer(*conexion, clave).value_or(QString()).trimmed().toInt(&ok);
    return ok && valor >= minimo ? valor : omision;
}

QString Hora()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm"));
}

QString Texto(const QVariant& valor, const char* columna)
{
    return orvinda::Campo(QLatin1String(columna), valor).Texto();
}

} // namespace

QSet<QString> frmRM640::Nuevos(const QString& clave) const
{
    QSet<QString> folios;
    const QSet<size_t> nuevos = m_nuevos.value(clave);
    const int i = static_cast<int>(m_clavesConfiguracion.indexOf(clave));
    if (nuevos.isEmpty() || i < 0 || i >= m_lista.size())
        return folios;
    const orvinda::ModeloLista& modelo = m_lista[i]->Modelo();
    for (int f = 0, n = modelo.Total(); f < n; ++f)
        if (nuevos.contains(orvinda::ModeloLista::Huella(modelo.Celda(f, 0))))
            folios.insert(QString::fromUtf8(modelo.Celda(f, 0)));
    return folios;
}

QString frmRM640::Estado() const
{
    return m_controles->TextoAuxiliar();
}

void frmRM640::AlTerminarLectura(bool completa)
{
    // After the refresh's own statements, once: the server's date, which
    // every age counts against, and the parameters of the live inbox.
    Trampa::Intentar([this] { m_hoy = Publico::Utilerias->FechaServidor().date(); });
    m_diasAtraso = Entero(m_conexionRefresco, ParametroDiasAtraso, 7, 0);
    m_segundosReposo = Entero(m_conexionRefresco, ParametroRefresco, 120, 0);
    AplicarMarcas(completa);
    ProgramarReposo();
}

void frmRM640::AplicarMarcas(bool completa)
{
    for (int i = 0; i < m_lista.size() && i < m_clavesConfiguracion.size(); ++i) {
        orvinda::ModeloLista& modelo = m_lista[i]->Modelo();
        modelo.setDiasAtraso(m_diasAtraso);
        modelo.setFechaReferencia(m_hoy);
        // New since the last look: documents the last refresh did not list,
        // and those already new that nobody has looked at yet. A refresh the
        // reviewer stopped read only part: it changes what is known of none.
        const QString& clave = m_clavesConfiguracion[i];
        if (!completa) {
            modelo.setNuevas(m_nuevos.value(clave));
            continue;
        }
        QSet<size_t> ahora;
        ahora.reserve(modelo.Total());
        for (int f = 0, n = modelo.Total(); f < n; ++f)
            ahora.insert(orvinda::ModeloLista::Huella(modelo.Celda(f, 0)));
        QSet<size_t> nuevos;
        const auto conocidos = m_conocidos.constFind(clave);
        if (conocidos != m_conocidos.constEnd()) {
            const QSet<size_t> antes = m_nuevos.value(clave);
            for (const size_t folio : std::as_const(ahora))
                if (!conocidos->contains(folio) || antes.contains(folio))
                    nuevos.insert(folio);
        }
        m_conocidos.insert(clave, std::move(ahora));
        modelo.setNuevas(nuevos);
        m_nuevos.insert(clave, std::move(nuevos));
    }
    for (int i = 0; i < m_lista.size(); ++i)
        m_cuentasPendientes.insert(i);
    ActualizarCuentas();
    // While nobody types yet: the text the filter searches, folded, so the
    // first keystroke over every tab costs what the next ones do. Not for a
    // list so long that the folded copy would weigh more than it saves.
    QTimer::singleShot(0, this, [this] {
        for (const orvinda::ListView* lista : std::as_const(m_lista))
            if (!lista->Llenando() && lista->Modelo().Total() <= 200000)
                lista->Modelo().PrepararFiltro();
    });
}

void frmRM640::MarcarVistos(int i)
{
    if (m_restaurando || i < 0 || i >= m_lista.size() || i >= m_clavesConfiguracion.size())
        return;
    auto nuevos = m_nuevos.find(m_clavesConfiguracion[i]);
    if (nuevos == m_nuevos.end() || nuevos->isEmpty())
        return;
    orvinda::ListView& lista = *m_lista[i];
    QStringList vistos = lista.SelectedItems();
    vistos.append(lista.SelectedItem());
    bool alguno = false;
    for (const QString& folio : std::as_const(vistos))
        if (nuevos->remove(orvinda::ModeloLista::Huella(folio.toUtf8()))) {
            lista.Modelo().QuitarNueva(folio);
            alguno = true;
        }
    if (alguno) {
        m_cuentasPendientes.insert(i);
        PedirCuentas();
    }
}

void frmRM640::ActualizarTitulo()
{
    if (m_clavesConfiguracion.isEmpty())
        return;
    // The window's own title, without the count a refresh put after it.
    QWidget* ventana = window();
    QString base = ventana->windowTitle().section(QStringLiteral(" — "), 0, 0);
    if (base.isEmpty())
        base = QStringLiteral("Orvinda");
    qint64 pendientes = 0;
    for (int i = 0; i < m_lista.size() && i < m_clavesConfiguracion.size(); ++i)
        pendientes += m_lista[i]->Modelo().Total();
    const QString cuenta = pendientes == 1 ? QStringLiteral("1 pendiente")
                                           : QStringLiteral("%1 pendientes").arg(QLocale().toString(pendientes));
    ventana->setWindowTitle(base + QStringLiteral(" — ") + cuenta);
}

// ---------------------------------------------------------------- the idle refresh

void frmRM640::ProgramarReposo()
{
    if (m_segundosReposo <= 0) {
        m_reposo->stop();
        return;
    }
    m_reposo->start(m_segundosReposo * 1000);
}

void frmRM640::AlVencerReposo()
{
    if (m_segundosReposo <= 0)
        return;
    const qint64 intervalo = qint64(m_segundosReposo) * 1000;
    const qint64 quieto = m_actividad.elapsed();
    // A key or the mouse since: the wait starts from there.
    if (quieto < intervalo) {
        m_reposo->start(static_cast<int>(intervalo - quieto));
        return;
    }
    if (!RefrescarEnReposo())
        m_reposo->start(static_cast<int>(intervalo));
}

bool frmRM640::PuedeRefrescarEnReposo() const
{
    if (!m_formaCargada || !isVisible() || m_refrescando || m_leyendoReposo >= 0 || m_lote
        || AutorizacionEnLote::EnCurso())
        return false;
    for (const orvinda::ListView* lista : m_lista)
        if (lista->Llenando())
            return false;
    // No dialog of any kind is open: the review, the comment, the editor,
    // a message, the progress of a bulk run.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return false;
    if (frmAutorizacion::ExisteInstancia() && frmAutorizacion::Instancia().isVisible())
        return false;
    if (frmConfiguracion::ExisteInstancia() && frmConfiguracion::Instancia().isVisible())
        return false;
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && qobject_cast<const QDialog*>(w))
            return false;
    return true;
}

bool frmRM640::RefrescarEnReposo()
{
    if (!PuedeRefrescarEnReposo())
        return false;
    m_reposo->stop();
    m_leyendoReposo = 0;
    m_filasReposo.clear();
    QString motivo;
    const bool leidas = Trampa::Atrapar([&](const QString& d) { motivo = d; },
                                        [this] {
                                            m_filasReposo = LeerConfiguraciones();
                                            if (m_filasReposo.isEmpty())
                                                throw orvinda::ErrorRm(QStringLiteral("No existe información"));
                                            // A NULL anywhere stops it here, before anything is read.
                                            for (const FilaConfiguracion& f : std::as_const(m_filasReposo)) {
                                                Texto(f.id, "ID");
                                                Texto(f.etiqueta, "Ca_Etiqueta");
                                                Texto(f.sql, "Ca_Sql");
                                            }
                                            if (Texto(m_filasReposo.first().sql, "Ca_Sql").isEmpty())
                                                throw orvinda::ErrorRm(QStringLiteral(
                                                    "La consulta <REQUISICION_COMPRA_PENDIENTE> no está configurada"));
                                        });
    if (!leidas)
        FallarReposo(motivo);
    else
        LeerSiguienteEnReposo();
    return true;
}

void frmRM640::LeerSiguienteEnReposo()
{
    if (m_leyendoReposo < 0)
        return;
    if (m_leyendoReposo >= m_filasReposo.size()) {
        AplicarReposo();
        return;
    }
    // A list of its own, never shown: what is on screen stays as it is
    // until every listing has been read.
    auto nueva = std::make_unique<orvinda::ListView>();
    nueva->setObjectName(QStringLiteral("lvLecturaReposo"));
    nueva->setFont(m_lista[0]->font());
    orvinda::ListView* lista = nueva.get();
    m_leidas.push_back(std::move(nueva));
    QString motivo;
    const bool iniciada = Trampa::Atrapar([&](const QString& d) { motivo = d; },
                                          [&] {
                                              LlenarLista(Texto(m_filasReposo[m_leyendoReposo].sql, "Ca_Sql"), *lista,
                                                          [this](const QString& error, bool cancelado) {
                                                              if (!error.isEmpty())
                                                                  FallarReposo(error);
                                                              else if (cancelado)
                                                                  FallarReposo(QStringLiteral("lectura interrumpida"));
                                                              else {
                                                                  ++m_leyendoReposo;
                                                                  LeerSiguienteEnReposo();
                                                              }
                                                          });
                                          });
    if (!iniciada)
        FallarReposo(motivo);
}

void frmRM640::AplicarReposo()
{
    // After the statements, once, as in the refresh: the server's date.
    QDate hoy;
    QString motivo;
    if (!Trampa::Atrapar([&](const QString& d) { motivo = d; },
                         [&] { hoy = Publico::Utilerias->FechaServidor().date(); })) {
        FallarReposo(motivo);
        return;
    }
    const int dias = Entero(m_conexionRefresco, ParametroDiasAtraso, 7, 0);
    const int segundos = Entero(m_conexionRefresco, ParametroRefresco, 120, 0);

    QStringList claves, titulos;
    for (const FilaConfiguracion& f : std::as_const(m_filasReposo)) {
        claves.append(Texto(f.id, "ID"));
        titulos.append(QStringLiteral("&") + QString::number(titulos.size() + 1) + Texto(f.etiqueta, "Ca_Etiqueta"));
    }
    QStringList titulosAhora;
    for (int i = 0; i < m_ssTab->Tabs(); ++i)
        titulosAhora.append(m_ssTab->TabCaption(i));
    const bool mismas
        = m_cargado && claves == m_clavesConfiguracion && titulos == titulosAhora && m_lista.size() == claves.size();

    m_restaurando = true;
    const bool puesta = Trampa::Atrapar([&](const QString& d) { motivo = d; },
                                        [&] {
                                            if (mismas) {
                                                for (int i = 0; i < claves.size(); ++i)
                                                    m_lista[i]->TomarFilas(*m_leidas[i]);
                                            } else {
                                                Reconstruir(m_filasReposo);
                                            }
                                        });
    m_restaurando = false;
    if (!puesta) {
        FallarReposo(motivo);
        return;
    }
    DetenerReposo();
    m_hoy = hoy;
    m_diasAtraso = dias;
    m_segundosReposo = segundos;
    AplicarMarcas(true);
    m_controles->setTextoAuxiliar(QStringLiteral("Actualizada a las %1").arg(Hora()));
    ProgramarReposo();
    emit RefrescoEnReposo(true);
}

void frmRM640::Reconstruir(const QVector<FilaConfiguracion>& filas)
{
    // Another set of kinds: the tabs are made again, as the refresh makes
    // them, and take the rows already read. Each kind keeps its order and
    // selection, and the chosen kind stays chosen.
    QHash<QString, orvinda::ListView::Seleccion> selecciones;
    for (int i = 0; i < m_lista.size() && i < m_clavesConfiguracion.size(); ++i) {
        m_orden.insert(m_clavesConfiguracion[i],
                       {m_lista[i]->Modelo().ColumnaOrden(), m_lista[i]->Modelo().SentidoOrden()});
        selecciones.insert(m_clavesConfiguracion[i], m_lista[i]->SeleccionActual());
    }
    const QString elegida = m_clavesConfiguracion.value(m_ssTab->Tab());
    const bool focoEnLista
        = qobject_cast<orvinda::ListView*>(QApplication::focusWidget()) && isAncestorOf(QApplication::focusWidget());

    VolverAlDiseno();
    m_cargado = false;
    m_totalPestanias = 0;
    m_fila = -1;
    for (int i = 0; i < filas.size(); ++i) {
        ++m_fila;
        m_totalPestanias = i + 1;
        const QString clave = Texto(filas[i].id, "ID");
        CrearPestania(i, clave, Texto(filas[i].etiqueta, "Ca_Etiqueta"));
        const auto orden = m_orden.value(clave, {-1, Qt::AscendingOrder});
        m_lista[i]->OrdenarPor(orden.first, orden.second);
        m_lista[i]->TomarFilas(*m_leidas[i]);
        m_lista[i]->setEnabled(true);
        m_lista[i]->Restaurar(selecciones.value(clave), false);
        m_lista[i]->setFiltro(m_filtro->text());
    }
    m_cargado = true;
    m_ssTab->setTab(m_ssTab->Tabs() - (m_fila + 1));
    m_colorVEX->AplicarColores();
    const int nueva = static_cast<int>(m_clavesConfiguracion.indexOf(elegida));
    if (nueva >= 0)
        m_ssTab->setTab(nueva);
    if (focoEnLista && m_ssTab->Tab() < m_lista.size())
        m_lista[m_ssTab->Tab()]->setFocus();
}

void frmRM640::FallarReposo(const QString& motivo)
{
    DetenerReposo();
    // Said where the state is shown, never in a box: nobody asked for it.
    // The first line in the area, all of it in the tooltip; a read writes
    // nothing, so what the causes say of changes is left out.
    QString linea = motivo.section(u'\n', 0, 0).trimmed();
    linea.remove(QStringLiteral("; no se aplicó ningún cambio"));
    if (linea.size() > 120)
        linea = linea.left(119) + QChar(0x2026);
    const QString texto
        = (PrefijoFallaReposo + QStringLiteral(" a las %1 (%2): se muestra lo leído antes")).arg(Hora(), linea);
    m_controles->setAvisoAuxiliar(texto, false, QString(), QString(motivo).remove(QStringLiteral("\r")).trimmed());
    ProgramarReposo();
    emit RefrescoEnReposo(false);
}

void frmRM640::DetenerReposo()
{
    // The lists read so far go, unseen; a read still under way stops.
    for (std::unique_ptr<orvinda::ListView>& lista : m_leidas) {
        orvinda::ListView* l = lista.release();
        l->disconnect(this);
        l->CancelarLlenado();
        l->deleteLater();
    }
    m_leidas.clear();
    m_filasReposo.clear();
    if (m_leyendoReposo >= 0 && !m_refrescando)
        m_conexionRefresco = nullptr;
    m_leyendoReposo = -1;
}

} // namespace rm640
