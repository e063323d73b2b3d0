#pragma once

#include "marcadores/MarcadoresHtml.h"
#include "marcadores/MarcadoresSql.h"

#include <QString>

namespace orvinda {
class Conexion;
}

namespace rm640 {

// The general parameters the component reads for itself. They are settings,
// not part of what an operator's action runs: read straight from the
// parameters table, outside the statement log, and any failure reading one
// leaves its safe value.
class Parametros
{
public:
    // Brings the unquoted splicing of values into statements back. Unsafe.
    static inline const QString SustitucionSinCitar = QStringLiteral("RM640_SUSTITUCION_SIN_CITAR");

    static MarcadoresSql::Modo ModoSustitucion(orvinda::Conexion& conexion);

    // How many rows one document's authorization or rejection may change
    // (a header and its detail lines): a whole number, 1 unless set.
    static inline const QString FilasPorDocumentoNombre = QStringLiteral("RM640_FILAS_POR_DOCUMENTO");
    static int FilasPorDocumento(orvinda::Conexion& conexion);
    // Brings the verbatim insertion of values into the HTML template back. Unsafe.
    static inline const QString PlantillaSinEscapar = QStringLiteral("RM640_PLANTILLA_SIN_ESCAPAR");

    static MarcadoresHtml::Modo ModoPlantilla(orvinda::Conexion& conexion);
    // The id or name of the page element whose text starts a rejection's
    // comment, where the page has more than one textarea or none.
    static inline const QString CampoComentarioRechazo = QStringLiteral("RM640_CAMPO_COMENTARIO_RECHAZO");

    // The stored text of a parameter; nullopt when it is missing, NULL or unreadable.
    static std::optional<QString> Leer(orvinda::Conexion& conexion, const QString& clave);
    // Whether a parameter reads as yes ("1", "S", "SI", "TRUE").
    static bool Activado(orvinda::Conexion& conexion, const QString& clave);
};

} // namespace rm640
