#include "host/servicios/FabricaClase.h"

namespace orvinda {

FabricaClase::~FabricaClase() = default;

} // namespace orvinda
