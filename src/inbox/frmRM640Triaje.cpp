// The inbox at keyboard speed: Enter opens (wired with the double click),
// F5 refreshes, Ctrl+F filters, each tab shows its count, and the selected
// documents of a tab can be authorized at once.
#include "host/controles/Controles.h"
#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/SSTab.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "inbox/SeleccionLote.h"
#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/AutorizacionEnLote.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <utility>

namespace rm640 {

namespace {

const QString TituloLote = QStringLiteral("Autorizar seleccionados");

} // namespace

void frmRM640::PrepararTriaje()
{
    m_filtro = new QLineEdit(m_controles);
    m_filtro->setObjectName(QStringLiteral("txtFiltro"));
    m_filtro->setPlaceholderText(QStringLiteral("Buscar (Ctrl+F)"));
    m_filtro->setToolTip(QStringLiteral("Muestra solo los documentos que contienen el texto, en cualquier columna "
                                        "(Ctrl+F; Esc lo borra)"));
    m_filtro->setAccessibleName(QStringLiteral("Filtro de documentos"));
    m_filtro->setClearButtonEnabled(true);
    // The clear button says what it does to whoever cannot see its icon.
    if (auto* borrar = m_filtro->findChild<QAction*>(QStringLiteral("_q_qlineeditclearaction"))) {
        borrar->setText(QStringLiteral("Borrar el filtro"));
        borrar->setToolTip(QStringLiteral("Borrar el filtro (Esc)"));
    }
    // As wide as it can be up to 220 pixels, narrower on a narrow window.
    m_filtro->setMinimumWidth(120);
    m_filtro->setMaximumWidth(220);
    m_filtro->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_controles->AgregarAccesorio(m_filtro);
    connect(m_filtro, &QLineEdit::textChanged, this, &frmRM640::AplicarFiltro);
    // Enter in the box goes to the list, where the next Enter opens.
    connect(m_filtro, &QLineEdit::returnPressed, this, [this] {
        const int i = m_ssTab->Tab();
        if (i >= 0 && i < m_lista.size())
            m_lista[i]->setFocus();
    });

    m_autorizarSeleccionados = new QToolButton(m_controles);
    m_autorizarSeleccionados->setObjectName(QStringLiteral("cmdAutorizarSeleccionados"));
    m_autorizarSeleccionados->setText(TituloLote);
    m_autorizarSeleccionados->setToolTip(QStringLiteral("Autorizar seleccionados (Ctrl+Shift+A)"));
    m_autorizarSeleccionados->setEnabled(false);
    m_controles->AgregarAccesorio(m_autorizarSeleccionados);
    connect(m_autorizarSeleccionados, &QToolButton::clicked, this, &frmRM640::AutorizarSeleccionados);
    m_lblSeleccion = new QLabel(m_controles);
    m_lblSeleccion->setObjectName(QStringLiteral("lblSeleccion"));
    m_controles->AgregarAccesorio(m_lblSeleccion);

    const auto atajo = [this](QKeySequence teclas, auto accion) {
        auto* s = new QShortcut(teclas, this, accion);
        s->setContext(Qt::WidgetWithChildrenShortcut);
    };
    atajo(QKeySequence(Qt::Key_F5), [this] { Refrescar(); });
    atajo(QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
        m_filtro->setFocus(Qt::ShortcutFocusReason);
        m_filtro->selectAll();
    });
    // Escape stops a list being read; otherwise it clears the filter.
    atajo(QKeySequence(Qt::Key_Escape), [this] {
        const int i = m_ssTab->Tab();
        if (i >= 0 && i < m_lista.size() && m_lista[i]->Llenando())
            m_lista[i]->CancelarLlenado();
        else
            m_filtro->clear();
    });
    // A held key asks once: its repeats never start another run.
    auto* lote = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), this, [this] {
        if (m_autorizarSeleccionados->isEnabled())
            AutorizarSeleccionados();
    });
    lote->setContext(Qt::WidgetWithChildrenShortcut);
    lote->setAutoRepeat(false);
    connect(m_ssTab, &QTabWidget::currentChanged, this, [this] {
        AplicarFiltro();
        ActualizarComandos();
    });
}

int frmRM640::ListaMostrada() const
{
    const int i = m_ssTab->Tab();
    return (i >= 0 && i < m_lista.size() && i < m_clavesConfiguracion.size()) ? i : -1;
}

void frmRM640::AplicarFiltro()
{
    // Every tab is narrowed at once: each count says whether its kind matches.
    const QString texto = m_filtro->text();
    for (orvinda::ListView* lista : std::as_const(m_lista))
        if (lista->Filtro() != texto)
            lista->setFiltro(texto);
}

QString frmRM640::CuentaPestania(int i) const
{
    if (i < 0 || i >= m_lista.size())
        return QString();
    const orvinda::ModeloLista& modelo = m_lista[i]->Modelo();
    const QLocale regional;
    QString cuenta = modelo.Filtro().trimmed().isEmpty()
        ? regional.toString(modelo.Total())
        : QStringLiteral("%1 de %2").arg(regional.toString(modelo.Mostradas()), regional.toString(modelo.Total()));
    const int edad = modelo.EdadMayor();
    if (edad >= 0)
        cuenta += QStringLiteral(" · %1 d").arg(regional.toString(edad));
    return cuenta;
}

QString frmRM640::NombrePestania(int i) const
{
    if (i < 0 || i >= m_ssTab->Tabs())
        return QString();
    // "&1Requisiciones de compra": the access key apart from the label.
    QString etiqueta = m_ssTab->TabCaption(i);
    QString tecla;
    if (etiqueta.startsWith(u'&')) {
        qsizetype k = 1;
        while (k < etiqueta.size() && etiqueta[k].isDigit())
            ++k;
        tecla = etiqueta.mid(1, k - 1);
        etiqueta = etiqueta.mid(k);
    }
    etiqueta.remove(u'&');
    QString nombre = etiqueta;
    if (!tecla.isEmpty())
        nombre += QStringLiteral(" (Alt+%1)").arg(tecla);
    if (i >= m_lista.size() || i >= m_clavesConfiguracion.size())
        return nombre;
    const orvinda::ModeloLista& modelo = m_lista[i]->Modelo();
    const QLocale regional;
    const bool filtrada = !modelo.Filtro().trimmed().isEmpty();
    const int total = modelo.Total();
    QString detalle
        = total == 1 ? QStringLiteral("1 documento") : QStringLiteral("%1 documentos").arg(regional.toString(total));
    if (filtrada)
        detalle = QStringLiteral("%1 de %2").arg(regional.toString(modelo.Mostradas()), detalle);
    const int edad = modelo.EdadMayor();
    if (edad >= 0)
        detalle += QStringLiteral(", el más antiguo de %1").arg(orvinda::ModeloLista::TextoEdad(edad));
    const int nuevos = static_cast<int>(m_nuevos.value(m_clavesConfiguracion[i]).size());
    if (nuevos > 0)
        detalle += nuevos == 1 ? QStringLiteral(", 1 nuevo") : QStringLiteral(", %1 nuevos").arg(nuevos);
    if (filtrada && modelo.Mostradas() == 0)
        detalle += QStringLiteral(", ninguno coincide con el filtro");
    return nombre + QStringLiteral(": ") + detalle;
}

void frmRM640::ActualizarCuenta(int i)
{
    m_cuentasPendientes.insert(i);
    if (i == m_ssTab->Tab())
        ActualizarComandos();
    PedirCuentas();
}

void frmRM640::PedirCuentas()
{
    // Many changes of one keystroke or one fill, one update of the strip.
    if (m_cuentasProgramadas)
        return;
    m_cuentasProgramadas = true;
    QTimer::singleShot(0, this, &frmRM640::ActualizarCuentas);
}

void frmRM640::ActualizarCuentas()
{
    m_cuentasProgramadas = false;
    QTabBar* barra = m_ssTab->tabBar();
    const QSet<int> pendientes = std::exchange(m_cuentasPendientes, {});
    for (int i : pendientes) {
        if (i < 0 || i >= barra->count())
            continue;
        // Drawn beside the caption, which stays as the refresh set it.
        auto* etiqueta = qobject_cast<QLabel*>(barra->tabButton(i, QTabBar::RightSide));
        const QString texto = CuentaPestania(i);
        // A kind the filter leaves without a document is dimmed (the text
        // still reads at 4.5:1 on the strip).
        const bool apagada
            = i < m_lista.size() && !m_lista[i]->Filtro().trimmed().isEmpty() && m_lista[i]->Modelo().Mostradas() == 0;
        const QString estilo = apagada ? QStringLiteral("QLabel { color: #595959; padding: 0 2px; }")
                                       : QStringLiteral("QLabel { color: #00538a; padding: 0 2px; }");
        barra->setTabTextColor(i, apagada ? QColor(0x59, 0x59, 0x59) : QColor());
        barra->setAccessibleTabName(i, NombrePestania(i));
        if (etiqueta && etiqueta->text() == texto && etiqueta->styleSheet() == estilo)
            continue;
        if (!etiqueta) {
            etiqueta = new QLabel(barra);
            etiqueta->setObjectName(QStringLiteral("lblCuenta"));
        }
        etiqueta->setStyleSheet(estilo);
        etiqueta->setText(texto);
        etiqueta->adjustSize();
        // Set again so the tab makes room for the new width (setting the same
        // widget would only hide it).
        barra->setTabButton(i, QTabBar::RightSide, nullptr);
        barra->setTabButton(i, QTabBar::RightSide, etiqueta);
    }
    ActualizarTitulo();
}

void frmRM640::ActualizarComandos()
{
    const int i = ListaMostrada();
    m_autorizarSeleccionados->setEnabled(i >= 0 && !m_lista[i]->SelectedItems().isEmpty());
    m_lblSeleccion->setText(i >= 0 ? SeleccionLote::De(*m_lista[i]).Etiqueta() : QString());
}

frmRM640::Posicion frmRM640::PosicionTras(const orvinda::ListView& lista)
{
    Posicion p;
    p.fila = lista.SelectedIndex();
    if (p.fila >= 0 && p.fila + 1 < lista.ListItemsCount())
        p.siguiente = lista.ListItemText(p.fila + 1);
    return p;
}

void frmRM640::SeleccionarTras(orvinda::ListView& lista, const Posicion& posicion)
{
    if (!posicion.siguiente.isEmpty() && lista.SeleccionarTexto(posicion.siguiente))
        return;
    // The follower is gone too: the row that now stands where it stood.
    const int n = lista.ListItemsCount();
    if (n > 0 && posicion.fila >= 0)
        lista.setSelectedIndex(std::min(posicion.fila, n - 1));
}

void frmRM640::Refrescar()
{
    if (m_refrescando) {
        m_refrescoPendiente = true;
        return;
    }
    const int tab = m_ssTab->Tab();
    const QString clave = m_clavesConfiguracion.value(tab);
    const QString folio = tab >= 0 && tab < m_lista.size() ? m_lista[tab]->SelectedItem() : QString();
    m_cargado = false;
    m_trasRefresco = [this, clave, folio] {
        const int nueva = clave.isEmpty() ? -1 : static_cast<int>(m_clavesConfiguracion.indexOf(clave));
        if (nueva < 0 || nueva >= m_lista.size())
            return;
        m_ssTab->setTab(nueva);
        AplicarFiltro();
        if (!folio.isEmpty())
            m_lista[nueva]->SeleccionarTexto(folio);
        m_lista[nueva]->setFocus();
    };
    Actualizar_Autorizaciones();
}

void frmRM640::AutorizarSeleccionados()
{
    // One run at a time, and never over a list still being read.
    const int i = ListaMostrada();
    if (i < 0 || m_refrescando || m_lote || AutorizacionEnLote::EnCurso() || m_lista[i]->Llenando())
        return;
    orvinda::ListView& lista = *m_lista[i];
    const QStringList folios = lista.SelectedItems();
    if (folios.isEmpty())
        return;
    const QString clave = m_clavesConfiguracion[i];

    Trampa::Atrapar(*this, TituloLote, QStringLiteral("ERR-ID:7500071"), [&] {
        // Said before it is done; unattended, the run asked for goes ahead.
        // A list read again while the question was open is asked about anew.
        const QString pregunta = SeleccionLote::De(lista).Pregunta(m_ssTab->tabText(i));
        if (Trampa::Preguntar(this, pregunta, TituloLote, QStringLiteral("ERR-ID:7500072"),
                              orvinda::Sistema::RespuestaSi, orvinda::Sistema::RespuestaSi)
                != orvinda::Sistema::RespuestaSi
            || ListaMostrada() != i || m_clavesConfiguracion.value(i) != clave || m_refrescando || m_lote
            || m_lista[i]->Llenando())
            return;
        auto* lote = new AutorizacionEnLote(clave, folios, this);
        m_lote = lote;
        auto* avance = new QProgressDialog(QStringLiteral("Autorizando documentos..."), QStringLiteral("Cancelar"), 0,
                                           static_cast<int>(folios.size()), this);
        avance->setObjectName(QStringLiteral("dlgAvanceLote"));
        avance->setWindowTitle(TituloLote);
        avance->setWindowModality(Qt::WindowModal);
        avance->setMinimumDuration(0);
        avance->setAutoClose(false);
        avance->setAutoReset(false);
        avance->setValue(0);
        // Asked between documents only: Cancel never stops one half-way.
        connect(avance, &QProgressDialog::canceled, lote, &AutorizacionEnLote::Cancelar);
        connect(lote, &AutorizacionEnLote::Avance, avance, [avance, lote](int hechos, int total) {
            if (avance->wasCanceled())
                return lote->Cancelar();
            avance->setMaximum(total);
            avance->setValue(hechos);
            avance->setLabelText(QStringLiteral("Autorizando documento %1 de %2...").arg(hechos + 1).arg(total));
        });
        const int pedidos = static_cast<int>(folios.size());
        connect(lote, &AutorizacionEnLote::Terminada, this, [this, lote, avance, pedidos, i, clave] {
            delete avance;
            lote->deleteLater();
            m_lote = nullptr;
            TerminarLote(lote->ObtenerResumen(), pedidos, i, clave);
        });
        avance->show();
        lote->Iniciar();
    });
}

void frmRM640::TerminarLote(const AutorizacionEnLote::Resumen& resumen, int pedidos, int i, const QString& clave)
{
    const auto resumir = [this, resumen, pedidos] {
        QStringList lineas{QStringLiteral("Autorizados: %1 de %2.").arg(resumen.autorizados.size()).arg(pedidos)};
        if (resumen.cancelado)
            lineas.append(QStringLiteral("Se canceló antes de terminar."));
        const auto enumerar = [&lineas](const QString& titulo, const QList<AutorizacionEnLote::Pendiente>& documentos) {
            if (!documentos.isEmpty())
                lineas.append(titulo);
            for (const AutorizacionEnLote::Pendiente& p : documentos)
                lineas.append(QStringLiteral("%1: %2").arg(p.folio, p.motivo));
        };
        enumerar(QStringLiteral("Quedan pendientes:"), resumen.pendientes);
        enumerar(QStringLiteral("Autorizados con aviso:"), resumen.avisos);
        Reportar(lineas.join(u'\n'),
                 resumen.pendientes.isEmpty() && resumen.avisos.isEmpty() ? orvinda::Sistema::EstiloInformacion
                                                                          : orvinda::Sistema::EstiloAdvertencia,
                 TituloLote, QStringLiteral("ERR-ID:7500070"));
    };
    // The list is read again once; the summary follows it, whatever the read says.
    bool recargando = false;
    Trampa::Atrapar(*this, TituloLote, QStringLiteral("ERR-ID:7500071"), [&] {
        if (i >= m_lista.size() || m_clavesConfiguracion.value(i) != clave)
            return;
        orvinda::ListView& lista = *m_lista[i];
        const Posicion posicion = PosicionTras(lista);
        const QString consulta = Publico::Utilerias->BuscarValor(
            QStringLiteral("Configuracion_Autorizacion"), QStringLiteral("Ca_Cve_Configuracion_Autorizacion"), clave,
            QStringLiteral("Ca_Sql"), 0, QString(), QString(), QString());
        lista.ListItemsClear();
        QPointer<orvinda::ListView> recargada = &lista;
        LlenarLista(consulta, i, [this, recargada, posicion, resumir](const QString& error, bool) {
            if (recargada && error.isEmpty())
                SeleccionarTras(*recargada, posicion);
            resumir();
            if (!error.isEmpty())
                Trampa::Intentar([&] {
                    Reportar(error, orvinda::Sistema::EstiloError, TituloLote, QStringLiteral("ERR-ID:7500071"));
                });
        });
        recargando = true;
    });
    if (!recargando)
        resumir();
}

} // namespace rm640
