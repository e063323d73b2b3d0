#include "host/datos/ErrorRm.h"

namespace orvinda {

ErrorRm::ErrorRm(const QString& descripcion, int numero)
    : std::runtime_error(descripcion.toStdString())
    , m_descripcion(descripcion)
    , m_numero(numero)
{
}

ErrorRm ErrorRm::UsoNoValidoDeNull()
{
    return ErrorRm(QStringLiteral("Uso no válido de Null"), NumeroNull);
}

ErrorRm ErrorRm::SinRegistroActual()
{
    return ErrorRm(QStringLiteral("No hay registro actual: se pasó del último (o del primero), o el registro se eliminó. La operación solicitada requiere un registro actual."), 3021);
}

} // namespace orvinda
