#pragma once

#include <QStringList>
#include <QTreeWidget>

namespace orvinda {

// List view in report style: one row per item, its text in the first column
// and its subitems in the next ones. Forms use it as a control array, told
// apart by Index.
class ListView : public QTreeWidget
{
    Q_OBJECT
    Q_PROPERTY(int Index READ Index WRITE setIndex)
    Q_PROPERTY(QString SelectedItem READ SelectedItem)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    explicit ListView(QWidget* parent = nullptr);

    int Index() const { return m_indice; }
    void setIndex(int indice) { m_indice = indice; }

    void ColumnHeadersAdd(const QString& texto, int anchoTwips = 1440);
    void ColumnHeadersClear();
    int ColumnHeadersCount() const { return m_columnas.size(); }
    QString ColumnHeaderText(int columna) const;
    int ColumnHeaderWidth(int columna) const; // twips

    void ListItemsAdd(const QString& texto, const QStringList& subelementos = {});
    void ListItemsClear();
    int ListItemsCount() const { return topLevelItemCount(); }
    // Column 0 is the item's text, 1 and on its subitems. Throws ErrorRm out of range.
    QString ListItemText(int fila, int columna = 0) const;

    // Text of the selected item; empty text when none is selected.
    QString SelectedItem() const;
    void setSelectedIndex(int fila);

    bool TabStop() const { return focusPolicy() & Qt::TabFocus; }
    void setTabStop(bool si) { setFocusPolicy(si ? Qt::StrongFocus : Qt::ClickFocus); }

    // Scheme colours of the rows.
    void AplicarEsquema(const QColor& par, const QColor& impar);

signals:
    // Any double click inside the list, as the selected item stands afterwards.
    void DblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void ActualizarEncabezados();

    int m_indice = 0;
    QStringList m_columnas;
};

} // namespace orvinda
