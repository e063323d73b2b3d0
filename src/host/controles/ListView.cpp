#include "host/controles/ListView.h"

#include "host/controles/Twips.h"
#include "host/datos/ErrorRm.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace orvinda {

ListView::ListView(QWidget* parent)
    : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    setColumnCount(0);
}

void ListView::ColumnHeadersAdd(const QString& texto, int anchoTwips)
{
    m_columnas.append(texto);
    ActualizarEncabezados();
    setColumnWidth(m_columnas.size() - 1, Twips::APixeles(qMax(0, anchoTwips)));
}

void ListView::ColumnHeadersClear()
{
    m_columnas.clear();
    ActualizarEncabezados();
}

QString ListView::ColumnHeaderText(int columna) const
{
    if (columna < 0 || columna >= m_columnas.size())
        throw ErrorRm(QStringLiteral("Índice fuera del intervalo"), 9);
    return m_columnas.at(columna);
}

int ListView::ColumnHeaderWidth(int columna) const
{
    if (columna < 0 || columna >= m_columnas.size())
        throw ErrorRm(QStringLiteral("Índice fuera del intervalo"), 9);
    return Twips::DesdePixeles(columnWidth(columna));
}

void ListView::ListItemsAdd(const QString& texto, const QStringList& subelementos)
{
    auto* elemento = new QTreeWidgetItem(this);
    elemento->setText(0, texto);
    for (int i = 0; i < subelementos.size(); ++i)
        elemento->setText(i + 1, subelementos.at(i));
    // A freshly filled list has its first item selected, so the forms always
    // find a selected item to open.
    if (topLevelItemCount() == 1 && selectedItems().isEmpty())
        setCurrentItem(elemento);
}

void ListView::ListItemsClear()
{
    clear();
}

QString ListView::ListItemText(int fila, int columna) const
{
    const QTreeWidgetItem* elemento = topLevelItem(fila);
    if (!elemento || columna < 0)
        throw ErrorRm(QStringLiteral("Índice fuera del intervalo"), 9);
    return elemento->text(columna);
}

QString ListView::SelectedItem() const
{
    const QList<QTreeWidgetItem*> seleccion = selectedItems();
    if (seleccion.isEmpty())
        return QString();
    QTreeWidgetItem* actual = currentItem();
    return (actual && actual->isSelected() ? actual : seleccion.first())->text(0);
}

void ListView::setSelectedIndex(int fila)
{
    QTreeWidgetItem* elemento = topLevelItem(fila);
    if (!elemento)
        throw ErrorRm(QStringLiteral("Índice fuera del intervalo"), 9);
    setCurrentItem(elemento);
}

void ListView::AplicarEsquema(const QColor& par, const QColor& impar)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, par);
    p.setColor(QPalette::AlternateBase, impar);
    setPalette(p);
    setAlternatingRowColors(par != impar);
}

void ListView::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTreeWidget::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton)
        emit DblClick();
}

void ListView::ActualizarEncabezados()
{
    setColumnCount(m_columnas.size());
    setHeaderLabels(m_columnas);
}

} // namespace orvinda
