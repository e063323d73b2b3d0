#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QHash>
#include <QSet>
#include <QStringConverter>
#include <QStringList>
#include <vector>

namespace orvinda {

// The rows of a list view, each value held once as UTF-8 in one store with
// offsets beside it: no object per row or per cell, so a listing of a
// million rows costs little more than its text. Rows are shown through an
// order (a sorted column) and a filter, neither of which copies a value.
class ModeloLista : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Clase { Texto, Numero, Fecha };

    explicit ModeloLista(QObject* parent = nullptr);

    void AgregarColumna(const QString& titulo);
    void LimpiarColumnas();
    const QStringList& Columnas() const { return m_columnas; }

    // One row shown at once, at the end of what is shown.
    void AgregarFila(const QString& texto, const QStringList& subelementos);
    void Limpiar();

    // A fill: rows arrive in blocks while the event loop runs, and are shown
    // together at the end, in the order and through the filter already
    // chosen; meanwhile the list shows none. fines holds the end of each
    // cell in texto, row after row, columnas cells a row.
    void ComenzarCarga();
    void AgregarBloque(const QByteArray& texto, const QList<quint32>& fines, int columnas);
    void TerminarCarga();
    bool Cargando() const { return m_cargando; }

    int Total() const { return static_cast<int>(m_filas.size() - 1); }
    int Mostradas() const
    {
        return (m_oculta || m_cargando) ? 0 : m_directa ? Total() : static_cast<int>(m_vista.size());
    }
    int FilaAlmacen(int mostrada) const { return m_directa ? mostrada : m_vista[mostrada]; }
    // Empty for a cell the row does not have.
    QByteArrayView Celda(int filaAlmacen, int columna) const;
    QString Texto(int mostrada, int columna) const;
    // The first shown row whose first cell is texto; -1 when none is.
    int BuscarMostrada(const QString& texto) const;
    qint64 BytesTexto() const { return m_texto.size(); }

    // The rows of otro, columns and store, take the place of these: this
    // model's order, filter, date of reference and marks apply to them, and
    // otro is left empty. Rows go and come (no reset) when the columns are
    // the same, so a view keeps its column widths.
    void TomarFilas(ModeloLista& otro);

    // Ages. The age of a row is the whole days from its cell in the first
    // column that reads as dates to the date of reference; -1 when there is
    // no such column, no date of reference, or the cell is empty.
    void setFechaReferencia(const QDate& hoy);
    const QDate& FechaReferencia() const { return m_hoy; }
    int ColumnaFecha() const;
    int Edad(int filaAlmacen) const;
    // The oldest of the shown rows; -1 when none has an age.
    int EdadMayor() const;
    // Marked rows: older than diasAtraso, or "Urgente" in the column headed
    // "Prioridad". New rows (by their first cell) are marked apart.
    void setDiasAtraso(int dias);
    int DiasAtraso() const { return m_diasAtraso; }
    int ColumnaPrioridad() const;
    bool Atrasada(int filaAlmacen) const;
    bool Urgente(int filaAlmacen) const;
    bool Marcada(int filaAlmacen) const
    {
        return Atrasada(filaAlmacen) || Urgente(filaAlmacen) || !Observacion(filaAlmacen).isEmpty();
    }
    // Rows a command left as they were, each with a word on why (by the
    // Huella of its first cell): marked, the word in the whole row's tooltip.
    void setObservaciones(const QHash<size_t, QString>& observaciones);
    QString Observacion(int filaAlmacen) const;
    // By the Huella of their first cells: eight bytes a folio, however many.
    void setNuevas(const QSet<size_t>& huellas);
    static size_t Huella(QByteArrayView folio) { return qHash(folio, 0); }
    bool Nueva(int filaAlmacen) const;
    // A new row seen: it is marked no more. False when it was not new.
    bool QuitarNueva(const QString& folio);
    // "hace 41 días", "hace 1 día", "hoy"; empty below 0.
    static QString TextoEdad(int dias);
    // What marks a row, in words; empty for a row without marks.
    QString DescripcionMarcas(int filaAlmacen) const;
    // Colour of the text of a marked row: 4.5:1 or more on white.
    static QColor ColorMarca();

    // Any column, without regard to case or accents; empty text shows all.
    void Filtrar(const QString& texto);
    // Builds ahead what the first filter would build (every row's cells
    // folded), so that keystroke costs no more than the next ones.
    void PrepararFiltro() const { PrepararBusqueda(); }
    const QString& Filtro() const { return m_filtro; }
    Clase ClaseColumna(int columna) const;
    int ColumnaOrden() const { return m_columnaOrden; }
    Qt::SortOrder SentidoOrden() const { return m_sentido; }

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;
    void sort(int columna, Qt::SortOrder sentido = Qt::AscendingOrder) override;

private:
    void AgregarCelda(QStringView texto);
    void TerminarFila() { m_filas.push_back(static_cast<quint32>(m_celdas.size() - 1)); }
    template <typename Cambio>
    void CambiarVista(Cambio cambio);
    void VaciarAlmacen();
    void Olvidar();
    void CalcularVista();
    void CalcularOrden();
    void PrepararBusqueda() const;
    void CalcularEdades();
    void AvisarMarcas();

    QStringList m_columnas;
    QByteArray m_texto;
    // Offsets grow with realloc (QList), not by copying as a vector would.
    QList<quint32> m_celdas; // start of each cell in m_texto, plus the end
    QList<quint32> m_filas; // first cell of each row, plus the end
    QStringEncoder m_utf8{QStringEncoder::Utf8};

    bool m_oculta = false; // no row shown while the view changes
    bool m_cargando = false;
    bool m_directa = true; // shown rows are the stored ones, in order
    std::vector<int> m_orden; // stored rows sorted; empty when unsorted
    std::vector<int> m_vista; // shown rows when not direct
    int m_columnaOrden = -1;
    Qt::SortOrder m_sentido = Qt::AscendingOrder;
    QString m_filtro;
    QByteArray m_aguja;

    QDate m_hoy;
    int m_diasAtraso = 7;
    mutable std::vector<qint16> m_edades; // per stored row, once asked for
    mutable bool m_edadesAlDia = false;
    QSet<size_t> m_nuevas; // Huella of their first cells
    QHash<size_t, QString> m_observaciones;
    mutable int m_columnaFecha = -2; // -2: not known yet
    mutable int m_columnaPrioridad = -2;

    // Built on the first filter after a change: each row's cells folded.
    mutable QByteArray m_plegado;
    mutable std::vector<quint32> m_inicioPlegado;
    mutable std::vector<Clase> m_clases;
};

} // namespace orvinda
