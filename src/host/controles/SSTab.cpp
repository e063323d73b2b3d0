#include "host/controles/SSTab.h"

#include "host/errores/ErrorRm.h"

namespace orvinda {

SSTab::SSTab(QWidget* parent)
    : ControlPestanias(parent)
{
    setNumeroPestanias(1);
}

void SSTab::setTabsPerRow(int pestanias)
{
    if (pestanias < 1)
        throw ErrorRm(QStringLiteral("Valor de propiedad no válido"), 380);
    m_porFila = pestanias;
}

void SSTab::setTab(int pestania)
{
    ComprobarIndice(pestania);
    setCurrentIndex(pestania);
}

} // namespace orvinda
