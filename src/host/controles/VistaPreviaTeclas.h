#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace orvinda {

// A window that sees the keys before whichever of its fields has the focus,
// without watching the whole application: the window's filter is installed
// on the window and on every widget it holds, those added later included.
class VistaPreviaTeclas : public QObject
{
public:
    VistaPreviaTeclas(QWidget& ventana, QObject& filtro);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Vigilar(QObject* objeto);

    QPointer<QObject> m_filtro;
};

} // namespace orvinda
