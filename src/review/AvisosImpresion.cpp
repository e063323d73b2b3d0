#include "review/AvisosImpresion.h"

#include <QMetaMethod>

namespace rm640 {

AvisosImpresion& AvisosImpresion::Instancia()
{
    // Never destroyed: printing may end while the process goes down.
    static auto* avisos = new AvisosImpresion;
    return *avisos;
}

bool AvisosImpresion::Escuchado() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&AvisosImpresion::Impreso));
}

} // namespace rm640
