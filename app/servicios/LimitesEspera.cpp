#include "servicios/LimitesEspera.h"

#include "host/datos/Conexion.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace orvinda {

void LimitesEspera::Aplicar(Conexion& conexion)
{
    int bloqueo = Conexion::EsperaBloqueoPorOmision;
    int sentencia = Conexion::LimiteSentenciaPorOmision;
    // Read outside the statement log: the operator did not ask for it.
    QSqlQuery q(conexion.BaseDatos());
    if (q.exec(QStringLiteral(
            "SELECT Pg_Cve_Parametro, Pg_Valor FROM Parametros_Generales"
            " WHERE Pg_Ambito = 0 AND Pg_Cve_Parametro IN ('BD_ESPERA_BLOQUEO', 'BD_LIMITE_SENTENCIA')"))) {
        while (q.next()) {
            bool ok = false;
            const int segundos = q.value(1).toString().trimmed().toInt(&ok);
            const bool esBloqueo = q.value(0).toString() == QLatin1String("BD_ESPERA_BLOQUEO");
            // A lock wait of 0 means "no wait" to some engines and "no limit"
            // to others: it is not taken.
            if (!ok || segundos < (esBloqueo ? 1 : 0))
                continue;
            (esBloqueo ? bloqueo : sentencia) = segundos;
        }
    }
    q.finish();
    conexion.FijarLimites(bloqueo, sentencia);
}

} // namespace orvinda
