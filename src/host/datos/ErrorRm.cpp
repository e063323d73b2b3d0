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
    return ErrorRm(QStringLiteral("BOF o EOF es True, o el actual registro se eliminó. La operación solicitada requiere un registro actual."), 3021);
}

} // namespace orvinda
