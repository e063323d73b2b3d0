#include "host/controles/ListView.h"

#include "host/controles/LlenadoLista.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/Twips.h"
#include "host/datos/LecturaListado.h"
#include "host/errores/ErrorRm.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace orvinda {

namespace {

ErrorRm FueraDeIntervalo()
{
    return ErrorRm(QStringLiteral("Índice fuera del intervalo"), 9);
}

} // namespace

ListView::ListView(QWidget* parent)
    : QTableView(parent)
    , m_modelo(new ModeloLista(this))
{
    setModel(m_modelo);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Tab goes to the next control, never to the next cell; arrows move in the list.
    setTabKeyNavigation(false);
    QHeaderView* filas = verticalHeader();
    filas->hide();
    filas->setSectionResizeMode(QHeaderView::Fixed);
    filas->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* cabecera = horizontalHeader();
    cabecera->setStretchLastSection(false);
    cabecera->setSectionsMovable(false);
    cabecera->setHighlightSections(false);
    cabecera->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cabecera->setSectionsClickable(true);
    connect(cabecera, &QHeaderView::sectionClicked, this, &ListView::Ordenar);
    connect(m_modelo, &QAbstractItemModel::modelReset, this, &ListView::MostrarOrden);
    const auto movida = [this] { m_seleccionMovida = true; };
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, movida);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, movida);
    connect(m_modelo, &QAbstractItemModel::columnsInserted, this, &ListView::MostrarOrden);
}

// A fill in progress goes before the store it fills, and tells nobody:
// whoever watched the list may be going too.
ListView::~ListView()
{
    m_modelo->blockSignals(true);
    delete m_llenado.data();
}

void ListView::ColumnHeadersAdd(const QString& texto, int anchoTwips)
{
    m_modelo->AgregarColumna(texto);
    setColumnWidth(m_modelo->Columnas().size() - 1, Twips::APixeles(qMax(0, anchoTwips)));
}

void ListView::ColumnHeadersClear()
{
    m_modelo->LimpiarColumnas();
}

int ListView::ColumnHeadersCount() const
{
    return static_cast<int>(m_modelo->Columnas().size());
}

QString ListView::ColumnHeaderText(int columna) const
{
    if (columna < 0 || columna >= ColumnHeadersCount())
        throw FueraDeIntervalo();
    return m_modelo->Columnas().at(columna);
}

int ListView::ColumnHeaderWidth(int columna) const
{
    if (columna < 0 || columna >= ColumnHeadersCount())
        throw FueraDeIntervalo();
    return Twips::DesdePixeles(columnWidth(columna));
}

void ListView::ListItemsAdd(const QString& texto, const QStringList& subelementos)
{
    m_modelo->AgregarFila(texto, subelementos);
    // A freshly filled list has its first item selected, so the forms always
    // find a selected item to open.
    if (ListItemsCount() == 1 && !HaySeleccion())
        setSelectedIndex(0);
}

void ListView::ListItemsClear()
{
    if (m_llenado) {
        m_llenado->disconnect(this);
        delete m_llenado.data();
    }
    m_modelo->Limpiar();
}

int ListView::ListItemsCount() const
{
    return m_modelo->Mostradas();
}

int ListView::ListItemsTotal() const
{
    return m_modelo->Total();
}

QString ListView::ListItemText(int fila, int columna) const
{
    if (fila < 0 || fila >= ListItemsCount() || columna < 0)
        throw FueraDeIntervalo();
    return m_modelo->Texto(fila, columna);
}

int ListView::SelectedIndex() const
{
    const QModelIndex actual = currentIndex();
    if (actual.isValid() && selectionModel()->isRowSelected(actual.row(), {}))
        return actual.row();
    const QModelIndexList filas = selectionModel()->selectedRows();
    return filas.isEmpty() ? -1 : filas.first().row();
}

QString ListView::SelectedItem() const
{
    const int fila = SelectedIndex();
    return fila < 0 ? QString() : m_modelo->Texto(fila, 0);
}

bool ListView::HaySeleccion() const
{
    return currentIndex().isValid() || selectionModel()->hasSelection();
}

QStringList ListView::SelectedItems() const
{
    QList<int> filas;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        filas.append(i.row());
    std::sort(filas.begin(), filas.end());
    QStringList textos;
    for (int f : filas)
        textos.append(m_modelo->Texto(f, 0));
    return textos;
}

void ListView::setSelectedIndex(int fila)
{
    if (fila < 0 || fila >= ListItemsCount())
        throw FueraDeIntervalo();
    const QModelIndex indice = m_modelo->index(fila, 0);
    selectionModel()->setCurrentIndex(indice, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(indice);
}

bool ListView::SeleccionarTexto(const QString& folio)
{
    const int fila = m_modelo->BuscarMostrada(folio);
    if (fila < 0)
        return false;
    setSelectedIndex(fila);
    return true;
}

void ListView::SeleccionInicial()
{
    if (ListItemsCount() > 0 && !HaySeleccion())
        setSelectedIndex(0);
}

void ListView::setMultiSelect(bool si)
{
    setSelectionMode(si ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

ListView::Seleccion ListView::SeleccionActual() const
{
    Seleccion s;
    s.elementos = SelectedItems();
    s.actual = SelectedItem();
    return s;
}

bool ListView::Restaurar(const Seleccion& seleccion, bool desplazar)
{
    if (seleccion.elementos.isEmpty() && seleccion.actual.isEmpty())
        return false;
    // One pass over the shown rows, however many items were selected.
    QSet<QByteArray> buscados;
    for (const QString& t : seleccion.elementos)
        buscados.insert(t.toUtf8());
    const QByteArray actual = seleccion.actual.toUtf8();
    QItemSelection filas;
    int filaActual = -1;
    const int n = ListItemsCount();
    const int ultima = std::max(0, m_modelo->columnCount() - 1);
    int inicio = -1; // a run of selected rows goes in as one range
    for (int f = 0; f <= n; ++f) {
        bool elegida = false;
        if (f < n) {
            const QByteArrayView celda = m_modelo->Celda(m_modelo->FilaAlmacen(f), 0);
            const QByteArray clave = QByteArray::fromRawData(celda.data(), celda.size());
            if (filaActual < 0 && !seleccion.actual.isEmpty() && clave == actual)
                filaActual = f;
            elegida = buscados.contains(clave);
        }
        if (elegida && inicio < 0)
            inicio = f;
        if (!elegida && inicio >= 0) {
            filas.select(m_modelo->index(inicio, 0), m_modelo->index(f - 1, ultima));
            inicio = -1;
        }
    }
    if (filas.isEmpty() && filaActual < 0)
        return false;
    QItemSelectionModel* sm = selectionModel();
    if (filaActual < 0)
        filaActual = filas.first().top();
    sm->setCurrentIndex(m_modelo->index(filaActual, 0), QItemSelectionModel::NoUpdate);
    sm->select(filas, QItemSelectionModel::ClearAndSelect);
    if (filas.isEmpty())
        sm->select(m_modelo->index(filaActual, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (desplazar)
        scrollTo(m_modelo->index(filaActual, 0));
    return true;
}

template <typename Cambio>
void ListView::ConservandoSeleccion(Cambio cambio)
{
    const QString antes = SelectedItem();
    cambio();
    if (antes.isEmpty() || !SeleccionarTexto(antes))
        SeleccionInicial();
}

void ListView::setFiltro(const QString& texto)
{
    ConservandoSeleccion([&] { m_modelo->Filtrar(texto); });
}

QString ListView::Filtro() const
{
    return m_modelo->Filtro();
}

void ListView::Ordenar(int columna)
{
    const Qt::SortOrder sentido
        = (m_modelo->ColumnaOrden() == columna && m_modelo->SentidoOrden() == Qt::AscendingOrder) ? Qt::DescendingOrder
                                                                                                  : Qt::AscendingOrder;
    OrdenarPor(columna, sentido);
}

void ListView::OrdenarPor(int columna, Qt::SortOrder sentido)
{
    if (columna < 0)
        return;
    const Seleccion antes = SeleccionActual();
    m_modelo->sort(columna, sentido);
    // The list is read from its top after a sort: whatever was selected
    // stays selected, wherever the order put it.
    if (!Restaurar(antes, false))
        SeleccionInicial();
    scrollToTop();
    MostrarOrden();
}

void ListView::MostrarOrden()
{
    const int columna = m_modelo->ColumnaOrden();
    if (columna < 0 || columna >= m_modelo->columnCount())
        return;
    QHeaderView* cabecera = horizontalHeader();
    cabecera->setSortIndicatorShown(true);
    cabecera->setSortIndicator(columna, m_modelo->SentidoOrden());
}

void ListView::TomarFilas(ListView& fuente)
{
    if (&fuente == this)
        return;
    const Seleccion antes = SeleccionActual();
    const int filaAntes = SelectedIndex();
    const QModelIndex arriba = indexAt(QPoint(0, 0));
    const QString primera = arriba.isValid() ? m_modelo->Texto(arriba.row(), 0) : QString();
    const bool mismas = m_modelo->Columnas() == fuente.Modelo().Columnas();
    QList<int> anchos;
    if (!mismas)
        for (int c = 0; c < fuente.Modelo().columnCount(); ++c)
            anchos.append(fuente.columnWidth(c));
    m_modelo->TomarFilas(fuente.Modelo());
    for (int c = 0; c < anchos.size(); ++c)
        setColumnWidth(c, anchos[c]);
    MostrarOrden();
    if (!Restaurar(antes, false)) {
        // The selected item is gone: the row that now stands where it stood.
        const int n = ListItemsCount();
        if (n > 0 && filaAntes >= 0)
            setSelectedIndex(std::min(filaAntes, n - 1));
        else
            SeleccionInicial();
    }
    // The same first row in view, where it is still there.
    const int fila = primera.isEmpty() ? -1 : m_modelo->BuscarMostrada(primera);
    if (fila >= 0)
        scrollTo(m_modelo->index(fila, 0), QAbstractItemView::PositionAtTop);
    else
        scrollToTop();
}

void ListView::AplicarEsquema(const QColor& par, const QColor& impar)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, par);
    p.setColor(QPalette::AlternateBase, impar);
    setPalette(p);
    setAlternatingRowColors(par != impar);
}

void ListView::Llenar(std::unique_ptr<LecturaListado> lectura)
{
    if (m_llenado) {
        // Its end is of no interest any more: only the new fill's is told.
        m_llenado->disconnect(this);
        delete m_llenado.data();
    }
    m_filasLeidas = 0;
    auto* llenado = new LlenadoLista(*this, std::move(lectura));
    m_llenado = llenado;
    connect(llenado, &LlenadoLista::Terminado, this, [this, llenado](const QString& error, bool cancelado) {
        llenado->deleteLater();
        viewport()->update();
        emit LlenadoTerminado(error, cancelado);
    });
    // A short fill ends unseen; a long one says how far it is.
    QTimer::singleShot(AvanceTrasMs, llenado, [this] { viewport()->update(); });
}

bool ListView::Llenando() const
{
    return m_llenado && m_modelo->Cargando();
}

void ListView::CancelarLlenado()
{
    if (Llenando())
        m_llenado->Cancelar();
}

void ListView::AvanceLlenado(qint64 filas)
{
    m_filasLeidas = filas;
    if (m_llenado && m_llenado->Milisegundos() >= AvanceTrasMs)
        viewport()->update();
}

void ListView::paintEvent(QPaintEvent* e)
{
    QTableView::paintEvent(e);
    if (!Llenando() || m_llenado->Milisegundos() < AvanceTrasMs)
        return;
    QPainter p(viewport());
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.drawText(viewport()->rect(), Qt::AlignCenter,
               QStringLiteral("Leyendo documentos: %1\nEsc cancela").arg(QLocale().toString(m_filasLeidas)));
}

void ListView::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableView::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton)
        emit DblClick();
}

void ListView::mousePressEvent(QMouseEvent* e)
{
    m_seleccionMovida = false;
    QTableView::mousePressEvent(e);
    if (m_seleccionMovida)
        emit Recorrida();
}

void ListView::keyPressEvent(QKeyEvent* e)
{
    const bool sinModificador = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && sinModificador) {
        e->accept();
        emit Aceptar();
        return;
    }
    // Shift+F10 opens the list's menu, as the Menu key does.
    if (e->key() == Qt::Key_F10 && (e->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos(), e->modifiers());
        contextMenuEvent(&menu);
        e->accept();
        return;
    }
    m_seleccionMovida = false;
    QTableView::keyPressEvent(e);
    if (m_seleccionMovida)
        emit Recorrida();
}

// Ctrl+Home and Ctrl+End reach the first and last row and select it, as
// Home and End do in a list: Enter then opens the row the reviewer sees.
QItemSelectionModel::SelectionFlags ListView::selectionCommand(const QModelIndex& indice, const QEvent* evento) const
{
    if (evento && evento->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<const QKeyEvent*>(evento);
        const Qt::KeyboardModifiers m = tecla->modifiers() & ~Qt::KeypadModifier;
        if ((tecla->key() == Qt::Key_Home || tecla->key() == Qt::Key_End) && m == Qt::ControlModifier)
            return QItemSelectionModel::ClearAndSelect
                | (selectionBehavior() == SelectRows ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate);
    }
    return QTableView::selectionCommand(indice, evento);
}

// The keyboard's way to a header click: the list's menu (the Menu key or
// Shift+F10) sorts by any column, and again by the same one the other way.
// It pops up without a loop of its own, so nothing posted runs inside it.
void ListView::contextMenuEvent(QContextMenuEvent* e)
{
    const int columnas = m_modelo->columnCount();
    if (columnas == 0)
        return;
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuOrdenar"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int c = 0; c < columnas; ++c) {
        QString texto
            = QStringLiteral("Ordenar por %1")
                  .arg(m_modelo->headerData(c, Qt::Horizontal).toString().replace(u'&', QStringLiteral("&&")));
        if (m_modelo->ColumnaOrden() == c)
            texto += m_modelo->SentidoOrden() == Qt::AscendingOrder ? QStringLiteral(" (descendente)")
                                                                    : QStringLiteral(" (ascendente)");
        menu->addAction(texto, this, [this, c] { Ordenar(c); });
    }
    QPoint donde = e->globalPos();
    if (e->reason() == QContextMenuEvent::Keyboard && currentIndex().isValid())
        donde = viewport()->mapToGlobal(visualRect(currentIndex()).bottomLeft());
    menu->popup(donde);
    e->accept();
}

} // namespace orvinda
