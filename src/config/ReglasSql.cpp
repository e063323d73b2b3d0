#include "config/ReglasSql.h"

#include "config/Parametros.h"
#include "host/datos/Conexion.h"

namespace rm640 {

DialectoSql ReglasSql::Dialecto(const orvinda::Conexion& conexion)
{
    switch (conexion.ObtenerDialecto()) {
    case orvinda::Conexion::Dialecto::SQLite: return DialectoSql::SQLite;
    case orvinda::Conexion::Dialecto::PostgreSQL: return DialectoSql::PostgreSQL;
    case orvinda::Conexion::Dialecto::SqlServer: return DialectoSql::SqlServer;
    case orvinda::Conexion::Dialecto::Otro: break;
    }
    return DialectoSql::Comun;
}

MarcadoresSql::Reglas ReglasSql::De(orvinda::Conexion& conexion)
{
    return {Parametros::ModoSustitucion(conexion), Dialecto(conexion)};
}

} // namespace rm640
