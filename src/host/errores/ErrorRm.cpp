#include "host/errores/ErrorRm.h"

namespace orvinda {

ErrorRm::ErrorRm(const QString& descripcion, int numero, Causa causa)
    : std::runtime_error(descripcion.toStdString())
    , m_descripcion(descripcion)
    , m_numero(numero)
    , m_causa(causa)
{
}

QString ErrorRm::Explicada(const QString& pista) const
{
    QString causa = pista;
    switch (m_causa) {
    case Causa::Sentencia: break;
    case Causa::ConexionPerdida:
        causa = QStringLiteral("Se perdió la conexión con el servidor de base de datos; no se aplicó ningún cambio. "
                               "La siguiente operación abre una sesión nueva.");
        break;
    case Causa::SinRespuesta:
        causa = QStringLiteral("El servidor de base de datos no responde; se abandonó la sesión y la siguiente "
                               "operación abre una nueva.");
        break;
    case Causa::Bloqueo:
        causa = QStringLiteral("Otro usuario tiene ocupado el documento o la tabla; no se aplicó ningún cambio. "
                               "Intente de nuevo en un momento.");
        break;
    case Causa::Almacenamiento:
        causa = QStringLiteral("El disco de la base de datos está lleno o no responde; no se aplicó ningún cambio.");
        break;
    case Causa::SoloLectura:
        causa = QStringLiteral("La base de datos está abierta en solo lectura; no se aplicó ningún cambio.");
        break;
    }
    return causa.isEmpty() ? m_descripcion : causa + QStringLiteral("\r\n") + m_descripcion;
}

ErrorRm ErrorRm::UsoNoValidoDeNull()
{
    return ErrorRm(QStringLiteral("Uso no válido de Null"), NumeroNull);
}

ErrorRm ErrorRm::SinRegistroActual()
{
    return ErrorRm(QStringLiteral("No hay registro actual: se pasó del último (o del primero), o el registro se "
                                  "eliminó. La operación solicitada requiere un registro actual."),
                   3021);
}

} // namespace orvinda
