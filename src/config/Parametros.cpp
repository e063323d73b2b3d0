#include "config/Parametros.h"

#include "host/datos/Conexion.h"

namespace rm640 {

std::optional<QString> Parametros::Leer(orvinda::Conexion& conexion, const QString& clave)
{
    try {
        orvinda::Recordset rs = conexion.LeerSinRegistro(
            QStringLiteral("SELECT Pg_Valor FROM Parametros_Generales WHERE Pg_Cve_Parametro = '%1'")
                .arg(QString(clave).replace(u'\'', QLatin1String("''"))));
        if (rs.Eof() || rs.Fields(0).EsNulo())
            return std::nullopt;
        return rs.Fields(0).Texto();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool Parametros::Activado(orvinda::Conexion& conexion, const QString& clave)
{
    const QString v = Leer(conexion, clave).value_or(QString()).trimmed().toUpper();
    return v == QLatin1String("1") || v == QLatin1String("S") || v == QLatin1String("SI") || v == QLatin1String("SÍ")
        || v == QLatin1String("TRUE");
}

MarcadoresSql::Modo Parametros::ModoSustitucion(orvinda::Conexion& conexion)
{
    return Activado(conexion, SustitucionSinCitar) ? MarcadoresSql::Modo::Empalmar : MarcadoresSql::Modo::Citar;
}

MarcadoresHtml::Modo Parametros::ModoPlantilla(orvinda::Conexion& conexion)
{
    return Activado(conexion, PlantillaSinEscapar) ? MarcadoresHtml::Modo::Empalmar : MarcadoresHtml::Modo::Escapar;
}

int Parametros::FilasPorDocumento(orvinda::Conexion& conexion)
{
    bool numero = false;
    const int filas = Leer(conexion, FilasPorDocumentoNombre).value_or(QString()).trimmed().toInt(&numero);
    return numero && filas >= 1 ? filas : 1;
}

} // namespace rm640
