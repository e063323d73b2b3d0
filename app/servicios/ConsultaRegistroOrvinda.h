#pragma once

#include "host/servicios/ConsultaRegistro.h"

namespace orvinda {

class Conexion;
class Mensajero;

// Shows one record read-only: each column with its value.
class ConsultaRegistroOrvinda : public ConsultaRegistro
{
public:
    ConsultaRegistroOrvinda(Conexion& conexion, Mensajero& mensajero);

    void MostrarRegistro(const QString& tabla, const QString& columnaClave, const QString& valorClave,
                         const QString& extra1, const QString& extra2, const QString& extra3,
                         const QString& extra4) override;

private:
    Conexion& m_conexion;
    Mensajero& m_mensajero;
};

} // namespace orvinda
