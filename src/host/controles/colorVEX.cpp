#include "host/controles/colorVEX.h"

#include "host/controles/Controles.h"
#include "host/controles/Etiqueta.h"
#include "host/controles/ListView.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/txtVEX.h"

#include <QWidget>

namespace orvinda {

colorVEX::colorVEX(QObject* parent)
    : QObject(parent)
{
}

void colorVEX::AplicarColores()
{
    auto* forma = qobject_cast<QWidget*>(parent());
    if (!forma)
        return;

    QPalette p = forma->palette();
    p.setColor(QPalette::Window, m_backcolor);
    forma->setPalette(p);
    forma->setAutoFillBackground(true);

    for (QWidget* w : forma->findChildren<QWidget*>()) {
        if (auto* texto = qobject_cast<txtVEX*>(w)) {
            texto->AplicarEsquema(m_enablecolor, m_disablecolor, m_focuscolor, m_textfontsize);
        } else if (auto* etiqueta = qobject_cast<Etiqueta*>(w)) {
            etiqueta->setFontsize(m_labelfontsize);
        } else if (auto* barra = qobject_cast<Controles*>(w)) {
            barra->setColores(m_menubackcolor, m_menufontbackcolor, m_menuselbackcolor);
        } else if (auto* lista = qobject_cast<ListView*>(w)) {
            lista->AplicarEsquema(m_dbgridbackcoloreven, m_dbgridbackcolorodd);
        } else if (auto* caja = qobject_cast<RichTextBox*>(w)) {
            caja->AplicarEsquema(m_enablecolor, m_disablecolor);
        }
    }
}

} // namespace orvinda
