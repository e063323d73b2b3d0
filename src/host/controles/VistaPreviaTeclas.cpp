#include "host/controles/VistaPreviaTeclas.h"

#include <QChildEvent>
#include <QWidget>

namespace orvinda {

VistaPreviaTeclas::VistaPreviaTeclas(QWidget& ventana, QObject& filtro)
    : QObject(&ventana)
    , m_filtro(&filtro)
{
    Vigilar(&ventana);
}

void VistaPreviaTeclas::Vigilar(QObject* objeto)
{
    if (!objeto->isWidgetType() || !m_filtro)
        return;
    // Installing twice moves the filter to the front; removing first keeps
    // one copy of each.
    objeto->removeEventFilter(this);
    objeto->removeEventFilter(m_filtro);
    objeto->installEventFilter(m_filtro);
    objeto->installEventFilter(this);
    for (QObject* hijo : objeto->children())
        Vigilar(hijo);
}

bool VistaPreviaTeclas::eventFilter(QObject* objeto, QEvent* evento)
{
    // A widget is a widget from the start of its construction, so the one
    // just added is watched before it can take the focus.
    if (evento->type() == QEvent::ChildAdded)
        Vigilar(static_cast<QChildEvent*>(evento)->child());
    return QObject::eventFilter(objeto, evento);
}

} // namespace orvinda
