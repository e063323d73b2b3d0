// A component library of another version, as an older installation or
// another build would have left registered: the shell must not run it.
#include "host/servicios/FabricaClase.h"

[[gnu::used, gnu::section(RM640_SECCION_VERSION)]] extern const char VersionRM640[] = "0.9";
