#pragma once

#include <QString>

namespace orvinda {

class Conexion;

// Walks the decision log in Bd_Id order and recomputes every hash: each row
// must follow the one before (no number missing), carry its hash as its
// previous hash, and hash to its own; the head table must name the last row.
// A head hash recorded earlier (desde) must still be in the chain, which a
// rewrite of history catches even when every later hash was recomputed.
class VerificacionBitacora
{
public:
    struct Resultado
    {
        qint64 filas = 0;
        QString cabeza; // the last row's hash; the initial one when there is none
        qint64 filaRota = 0; // the first row that does not match, 0 when none
        QString motivo; // why; empty when the chain holds
        QString desde; // the earlier head asked about, as given
        qint64 filaDesde = -1; // the row whose hash it is (0: the start); -1 when not found or not asked
        bool Integra() const { return motivo.isEmpty(); }
        // One line for whoever runs the check; the head hash is its last word.
        QString Informe() const;
    };

    // Reads the rows as they are stored, outside the statement log. Throws
    // ErrorRm when the log cannot be read.
    static Resultado Verificar(Conexion& conexion, const QString& desde = QString());
};

} // namespace orvinda
