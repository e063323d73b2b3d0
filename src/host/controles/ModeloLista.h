#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
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

    // Any column, without regard to case or accents; empty text shows all.
    void Filtrar(const QString& texto);
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

    // Built on the first filter after a change: each row's cells folded.
    mutable QByteArray m_plegado;
    mutable std::vector<quint32> m_inicioPlegado;
    mutable std::vector<Clase> m_clases;
};

} // namespace orvinda
