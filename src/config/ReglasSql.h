#pragma once

#include "marcadores/MarcadoresSql.h"

namespace orvinda {
class Conexion;
}

namespace rm640 {

// How values go into the statements that run on a connection: quoted for
// the literals of its server, unless the site's parameter brings the
// splicing back.
class ReglasSql
{
public:
    // Known without asking the server anything.
    static DialectoSql Dialecto(const orvinda::Conexion& conexion);
    static MarcadoresSql::Reglas De(orvinda::Conexion& conexion);
};

} // namespace rm640
