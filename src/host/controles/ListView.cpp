#include "host/controles/ListView.h"

#include "host/controles/LlenadoLista.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/Twips.h"
#include "host/datos/LecturaListado.h"
#include "host/errores/ErrorRm.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
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
    ConservandoSeleccion([&] { m_modelo->sort(columna, sentido); });
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(columna, sentido);
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

void ListView::keyPressEvent(QKeyEvent* e)
{
    const bool sinModificador = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && sinModificador) {
        e->accept();
        emit Aceptar();
        return;
    }
    QTableView::keyPressEvent(e);
}

} // namespace orvinda
