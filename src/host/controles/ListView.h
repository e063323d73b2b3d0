#pragma once

#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <memory>

namespace orvinda {

class LecturaListado;
class LlenadoLista;
class ModeloLista;

// List view in report style: one row per item, its text in the first column
// and its subitems in the next ones. Forms use it as a control array, told
// apart by Index. Rows live in a ModeloLista; a header click sorts by that
// column, and a filter narrows what is shown. Row numbers count shown rows.
class ListView : public QTableView
{
    Q_OBJECT
    Q_PROPERTY(int Index READ Index WRITE setIndex)
    Q_PROPERTY(QString SelectedItem READ SelectedItem)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    explicit ListView(QWidget* parent = nullptr);
    ~ListView() override;

    // A fill that lasts longer says how far it is.
    static constexpr int AvanceTrasMs = 500;

    int Index() const { return m_indice; }
    void setIndex(int indice) { m_indice = indice; }

    void ColumnHeadersAdd(const QString& texto, int anchoTwips = 1440);
    void ColumnHeadersClear();
    int ColumnHeadersCount() const;
    QString ColumnHeaderText(int columna) const;
    int ColumnHeaderWidth(int columna) const; // twips

    void ListItemsAdd(const QString& texto, const QStringList& subelementos = {});
    void ListItemsClear();
    int ListItemsCount() const;
    // Rows held, whether the filter shows them or not.
    int ListItemsTotal() const;
    // Column 0 is the item's text, 1 and on its subitems. Throws ErrorRm out of range.
    QString ListItemText(int fila, int columna = 0) const;

    // Text of the selected item; empty text when none is selected.
    QString SelectedItem() const;
    void setSelectedIndex(int fila);
    // The shown row that holds the current item; -1 when there is none.
    int SelectedIndex() const;
    bool HaySeleccion() const;
    // Texts of every selected item, in the order shown.
    QStringList SelectedItems() const;
    // Selects the row whose text is folio; false (and no change) when none is.
    bool SeleccionarTexto(const QString& folio);
    void setMultiSelect(bool si);

    // As a click on the header does; a negative column leaves the order
    // alone. The selected items stay selected, and the view shows the first row.
    void OrdenarPor(int columna, Qt::SortOrder sentido);
    // Narrows the shown rows; the selected item stays selected while shown.
    void setFiltro(const QString& texto);
    QString Filtro() const;

    bool TabStop() const { return focusPolicy() & Qt::TabFocus; }
    void setTabStop(bool si) { setFocusPolicy(si ? Qt::StrongFocus : Qt::ClickFocus); }

    // Scheme colours of the rows.
    void AplicarEsquema(const QColor& par, const QColor& impar);

    ModeloLista& Modelo() const { return *m_modelo; }
    // After a fill: the first row selected, as a fresh list has it.
    void SeleccionInicial();

    // The rows of fuente, read unseen, take the place of this list's: its
    // order, filter, selection (by text) and first row in view stay.
    void TomarFilas(ListView& fuente);
    // Texts of the selected items and of the current one, and back again:
    // the rows that hold them are selected (false when none is).
    struct Seleccion
    {
        QStringList elementos;
        QString actual;
    };
    Seleccion SeleccionActual() const;
    bool Restaurar(const Seleccion& seleccion, bool desplazar);

    // Fills the list from a listing being read; a fill in progress is
    // stopped first. The list shows nothing of it until it ends, and says
    // meanwhile how many rows it has read (after half a second).
    void Llenar(std::unique_ptr<LecturaListado> lectura);
    bool Llenando() const;
    // The rows read so far are shown, and the fill ends as stopped.
    void CancelarLlenado();
    void AvanceLlenado(qint64 filas);

signals:
    // A fill ended: error empty when every row arrived.
    void LlenadoTerminado(const QString& error, bool cancelado);
    // Any double click inside the list, as the selected item stands afterwards.
    void DblClick();
    // Enter or Return pressed on the list.
    void Aceptar();
    // The reviewer moved the current item or the selection, by key or mouse.
    void Recorrida();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& indice,
                                                         const QEvent* evento = nullptr) const override;

private:
    void Ordenar(int columna);
    // The header's arrow as the model is sorted, after its columns change.
    void MostrarOrden();
    // Keeps the selected item across a change of order or filter.
    template <typename Cambio>
    void ConservandoSeleccion(Cambio cambio);

    int m_indice = 0;
    ModeloLista* m_modelo = nullptr;
    QPointer<LlenadoLista> m_llenado;
    qint64 m_filasLeidas = 0;
    bool m_seleccionMovida = false;
};

} // namespace orvinda
