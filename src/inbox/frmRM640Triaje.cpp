// The inbox at keyboard speed: Enter opens (wired with the double click),
// F5 refreshes, Ctrl+F filters, each tab shows its count and how many
// documents are selected.
#include "host/controles/Controles.h"
#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/SSTab.h"
#include "inbox/SeleccionLote.h"
#include "inbox/frmRM640.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <utility>

namespace rm640 {

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
    m_autorizarSeleccionados->setText(QStringLiteral("Autorizar seleccionados"));
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
    // Escape stops a list being read; otherwise it clears the filter, and
    // from the filter box it takes the keys back to the list.
    atajo(QKeySequence(Qt::Key_Escape), [this] {
        const int i = m_ssTab->Tab();
        const bool hayLista = i >= 0 && i < m_lista.size();
        if (hayLista && m_lista[i]->Llenando()) {
            m_lista[i]->CancelarLlenado();
            return;
        }
        m_filtro->clear();
        if (hayLista && m_filtro->hasFocus())
            m_lista[i]->setFocus(Qt::ShortcutFocusReason);
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
    PrepararAvisos();
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

QString frmRM640::CuentaPestania(int i, int nivel) const
{
    if (i < 0 || i >= m_lista.size())
        return QString();
    const orvinda::ModeloLista& modelo = m_lista[i]->Modelo();
    const QLocale regional;
    QString cuenta = modelo.Filtro().trimmed().isEmpty()
        ? regional.toString(modelo.Total())
        : (nivel >= 2 ? QStringLiteral("%1/%2") : QStringLiteral("%1 de %2"))
              .arg(regional.toString(modelo.Mostradas()), regional.toString(modelo.Total()));
    const int edad = modelo.EdadMayor();
    if (edad >= 0 && nivel == 0)
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
    for (int i : std::exchange(m_cuentasPendientes, {}))
        PonerCuenta(i);
    AjustarCuentas();
    ActualizarTitulo();
}

void frmRM640::PonerCuenta(int i)
{
    QTabBar* barra = m_ssTab->tabBar();
    if (i < 0 || i >= barra->count())
        return;
    // Drawn beside the caption, which stays as the refresh set it.
    auto* etiqueta = qobject_cast<QLabel*>(barra->tabButton(i, QTabBar::RightSide));
    const QString texto = CuentaPestania(i, m_nivelCuentas);
    // A kind the filter leaves without a document is dimmed (the text
    // still reads at 4.5:1 on the strip).
    const bool apagada
        = i < m_lista.size() && !m_lista[i]->Filtro().trimmed().isEmpty() && m_lista[i]->Modelo().Mostradas() == 0;
    const QString estilo = apagada ? QStringLiteral("QLabel { color: #595959; padding: 0 2px; }")
                                   : QStringLiteral("QLabel { color: #00538a; padding: 0 2px; }");
    barra->setTabTextColor(i, apagada ? QColor(0x59, 0x59, 0x59) : QColor());
    barra->setAccessibleTabName(i, NombrePestania(i));
    const QString entera = CuentaPestania(i);
    const bool igual = etiqueta && etiqueta->text() == texto && etiqueta->styleSheet() == estilo;
    if (!etiqueta) {
        etiqueta = new QLabel(barra);
        etiqueta->setObjectName(QStringLiteral("lblCuenta"));
    }
    etiqueta->setToolTip(texto == entera ? QString() : entera);
    if (igual)
        return;
    etiqueta->setStyleSheet(estilo);
    etiqueta->setText(texto);
    etiqueta->adjustSize();
    // Set again so the tab makes room for the new width (setting the same
    // widget would only hide it).
    barra->setTabButton(i, QTabBar::RightSide, nullptr);
    barra->setTabButton(i, QTabBar::RightSide, etiqueta);
}

// The captions stay whole; when the tabs would not fit side by side, the
// counts give way, all alike: first the age goes, then "4 de 107" reads
// "4/107". The label's tooltip and the tab's accessible name keep it whole.
void frmRM640::AjustarCuentas()
{
    QTabBar* barra = m_ssTab->tabBar();
    const int disponible = m_ssTab->width() - 4;
    int nivel = 0;
    for (; nivel < 2; ++nivel) {
        int ancho = barra->sizeHint().width();
        for (int i = 0; i < barra->count(); ++i)
            if (const auto* etiqueta = qobject_cast<QLabel*>(barra->tabButton(i, QTabBar::RightSide)))
                ancho += etiqueta->fontMetrics().horizontalAdvance(CuentaPestania(i, nivel))
                    - etiqueta->fontMetrics().horizontalAdvance(etiqueta->text());
        if (ancho <= disponible)
            break;
    }
    if (nivel == m_nivelCuentas)
        return;
    m_nivelCuentas = nivel;
    for (int i = 0; i < barra->count(); ++i)
        PonerCuenta(i);
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

} // namespace rm640
