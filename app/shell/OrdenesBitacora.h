#pragma once

#include <QString>

namespace orvinda {

class Conexion;

// What the shell does on the decision log and the schema without a window,
// for an administrator or a scheduled job: its output on stdout, its exit
// code the one --help lists.
class OrdenesBitacora
{
public:
    // --verificar-bitacora [--desde HASH]: the check's one line, whose last
    // word is the head hash when the chain holds.
    static int Verificar(Conexion& conexion, const QString& desde);
    // --actualizar-esquema: what was added, or that nothing was missing.
    static int ActualizarEsquema(Conexion& conexion, const QString& destino);
    // The command, written for this database, that adds the log to it.
    static QString OrdenActualizar(const QString& opcionDb);
};

} // namespace orvinda
