#pragma once

#include <QObject>

namespace orvinda {

// Gives the keyboard to every window the shell shows. A desktop with a
// window manager does this itself; on one without (a bare X server, a kiosk)
// a dialog opened from the keyboard would leave the keys with the window
// below it, and a closed one would leave them with no window. Only windows
// that stay inactive are asked to activate.
class ActivacionVentanas : public QObject
{
    Q_OBJECT

public:
    explicit ActivacionVentanas(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Activar(QWidget* ventana);

    // Only the latest request is pursued: a dialog that closes hands the
    // keys back to its window, and one that opens right after (a question
    // answered, then a form) must not have them taken back.
    quint64 m_pedidos = 0;
};

} // namespace orvinda
