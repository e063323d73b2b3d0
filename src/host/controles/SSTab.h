#pragma once

#include "host/controles/ControlPestanias.h"

namespace orvinda {

// The standard tab control. All tabs stay in one row whatever TabsPerRow says;
// the value is kept because forms read it back.
class SSTab : public ControlPestanias
{
    Q_OBJECT
    Q_PROPERTY(int Tabs READ Tabs WRITE setTabs)
    Q_PROPERTY(int TabsPerRow READ TabsPerRow WRITE setTabsPerRow)
    Q_PROPERTY(int Tab READ Tab WRITE setTab)

public:
    explicit SSTab(QWidget* parent = nullptr);

    int Tabs() const { return NumeroPestanias(); }
    void setTabs(int pestanias) { setNumeroPestanias(pestanias); }
    int TabsPerRow() const { return m_porFila; }
    // Throws ErrorRm below 1.
    void setTabsPerRow(int pestanias);
    int Tab() const { return currentIndex(); }
    // Throws ErrorRm out of range.
    void setTab(int pestania);
    QString TabCaption(int pestania) const { return Titulo(pestania); }
    void setTabCaption(int pestania, const QString& titulo) { setTitulo(pestania, titulo); }

private:
    int m_porFila = 1;
};

} // namespace orvinda
