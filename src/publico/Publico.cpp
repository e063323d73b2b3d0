#include "publico/Publico.h"

#include "host/datos/Conexion.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/TablaClases.h"
#include "host/servicios/Utilerias.h"

namespace rm640 {

std::unique_ptr<orvinda::Sistema> Publico::Sistema;
std::unique_ptr<orvinda::Utilerias> Publico::Utilerias;
QString Publico::CadenaSql;

void Publico::Main()
{
    if (Iniciado())
        return;
    Sistema = orvinda::TablaClases::Crear<orvinda::Sistema>();
    Utilerias = orvinda::TablaClases::Crear<orvinda::Utilerias>();
}

bool Publico::Iniciado()
{
    return Sistema && Utilerias;
}

void Publico::Terminar()
{
    Utilerias.reset();
    Sistema.reset();
    CadenaSql.clear();
}

orvinda::Conexion& Publico::Conexion()
{
    return Sistema->ObtenerConexion();
}

} // namespace rm640
