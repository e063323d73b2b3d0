#pragma once

namespace orvinda {

class Conexion;

// The connection's wait limits as the deployment sets them in
// Parametros_Generales (general scope, seconds): BD_ESPERA_BLOQUEO, how long
// a statement waits for a document or table another user holds (15 when
// missing or below 1); BD_LIMITE_SENTENCIA, how long a statement may run on a server
// (120 when missing, 0 for no limit).
class LimitesEspera
{
public:
    static void Aplicar(Conexion& conexion);
};

} // namespace orvinda
