#include "comun/SistemaGrabador.h"

SistemaGrabador::SistemaGrabador(Grabacion& g, orvinda::Conexion& conexion)
    : g(g)
    , m_conexion(conexion)
{
}
