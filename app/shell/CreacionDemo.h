#pragma once

#include <QString>

namespace orvinda {

class Conexion;

// What --crear-demo does: the demo database in a file or on a server that
// holds no table yet, all or nothing. A failure leaves no file that was not
// there before and no table on the server; throws ErrorRm saying why.
class CreacionDemo
{
public:
    static void Crear(const QString& destino);
    // The demo's rows and its mark on a database that already has the
    // shell's schema; Crear's own filling.
    static void Llenar(Conexion& conexion);
};

} // namespace orvinda
