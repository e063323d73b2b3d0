#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <memory>

namespace orvinda {

class LecturaListado;
class ListView;
class ModeloLista;

// Fills a list view from a listing read off the window's thread: the rows
// go straight into the list's store as they arrive, the columns take the
// query's names and a width that fits the first rows, and the list shows
// them all once the read ends. Meanwhile the window takes input; the list
// says how many rows it has read.
class LlenadoLista : public QObject
{
    Q_OBJECT

public:
    LlenadoLista(ListView& lista, std::unique_ptr<LecturaListado> lectura);
    ~LlenadoLista() override;

    // Stops the read: the rows read so far are shown.
    void Cancelar();
    qint64 FilasLeidas() const { return m_filas; }
    qint64 Milisegundos() const { return m_reloj.elapsed(); }

signals:
    // Once, when the list shows what was read: error is empty when every
    // row arrived; cancelado when the read was stopped.
    void Terminado(const QString& error, bool cancelado);

private:
    void AlRecibirColumnas(const QStringList& nombres);
    void AlRecibirFilas(const QByteArray& texto, const QList<quint32>& fines);
    void Terminar(const QString& error, bool cancelado);

    ListView& m_lista;
    ModeloLista& m_modelo;
    std::unique_ptr<LecturaListado> m_lectura;
    int m_columnas = 0;
    qint64 m_filas = 0;
    QList<int> m_anchos;
    QStringList m_masLargo;
    QElapsedTimer m_reloj;
    bool m_terminado = false;
};

} // namespace orvinda
