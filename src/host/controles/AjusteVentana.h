#pragma once

class QWidget;

namespace orvinda {

// Every window fits the screen it opens on: one designed larger than the
// screen's available area is made as large as that area (never below its
// own least size), and one that sticks out of it is brought inside. The
// forms call it when they are shown; their layouts already let them shrink.
class AjusteVentana
{
public:
    static void CaberEnPantalla(QWidget& ventana);
    // A window put back where it was last left: when no screen shows enough
    // of its top strip (alto pixels high) to take hold of it, it is moved
    // into the nearest screen.
    static void TraerAPantalla(QWidget& ventana, int alto);
};

} // namespace orvinda
