#include "review/AutorizacionEnLote.h"

namespace rm640 {

AutorizacionEnLote::Resumen AutorizacionEnLote::Ejecutar(const QString&, const QStringList& folios,
                                                         const Avance& avance)
{
    Resumen resumen;
    for (int i = 0; i < folios.size(); ++i) {
        if (avance && !avance(i, folios.size())) {
            resumen.cancelado = true;
            break;
        }
        resumen.pendientes.append({folios[i], QStringLiteral("Autorización en lote aún no disponible.")});
    }
    return resumen;
}

} // namespace rm640
