#include "comun/UtileriasGrabador.h"

UtileriasGrabador::UtileriasGrabador(Grabacion& g, orvinda::Conexion& conexion)
    : UtileriasOrvinda(conexion, g.operador)
    , g(g)
{
}
