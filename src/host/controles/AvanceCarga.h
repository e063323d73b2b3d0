#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <memory>

class QProgressDialog;
class QWidget;

namespace orvinda {

// The progress of reading rows into lists: nothing for the first half
// second, then a busy dialog with the count of rows read, the window still
// painting. A batch (a whole refresh of several lists) is one reading: its
// fills share one clock and one dialog.
class AvanceCarga
{
public:
    static constexpr int EsperaMs = 500;

    // A batch stays open, for every fill made meanwhile, while it lives.
    AvanceCarga(QWidget* ventana, bool tanda);
    ~AvanceCarga();
    AvanceCarga(const AvanceCarga&) = delete;
    AvanceCarga& operator=(const AvanceCarga&) = delete;

    // The batch open now; nullptr when none is.
    static AvanceCarga* TandaAbierta();
    void Sumar(int filas);

private:
    QPointer<QWidget> m_ventana;
    bool m_tanda;
    AvanceCarga* m_anterior = nullptr;
    QElapsedTimer m_reloj;
    qint64 m_ultimo = 0;
    qint64 m_filas = 0;
    std::unique_ptr<QProgressDialog> m_dialogo;
};

} // namespace orvinda
