#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <memory>

namespace orvinda {

class SesionLectura;

// One listing read on the shell's reading session, off the window's thread.
// Its rows come back through the event loop of the thread that asked, in
// blocks of whole rows, each value as the UTF-8 text a list shows. Deleting
// it, or Cancelar, stops the read between two rows.
class LecturaListado : public QObject
{
    Q_OBJECT

public:
    LecturaListado(SesionLectura& sesion, const QString& consulta);
    ~LecturaListado() override;

    void Cancelar();
    bool Cancelada() const { return m_cancelada->load(); }

signals:
    // Before the first rows.
    void Columnas(const QStringList& nombres);
    // fines holds the end of each cell in texto, row after row.
    void Filas(const QByteArray& texto, const QList<quint32>& fines);
    // The read ended: with every row, when error is empty; a cancelled read
    // says nothing more.
    void Fin(const QString& error);

private:
    std::shared_ptr<std::atomic<bool>> m_cancelada = std::make_shared<std::atomic<bool>>(false);
};

} // namespace orvinda
