#include "review/SentenciaDeRevision.h"

#include "config/ReglasSql.h"
#include "host/datos/Conexion.h"
#include "host/datos/Recordset.h"
#include "host/datos/Transaccion.h"
#include "host/servicios/Sistema.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"

namespace rm640 {

bool SentenciaDeRevision::Ejecutar(const Reportar& reportar, const Avisos& avisos, const Consulta& consulta,
                                   const Expansion& expansion, bool& sinCambios)
{
    bool resultado = false;
    const auto fallo = [&](const QString& descripcion) {
        reportar(descripcion, orvinda::Sistema::EstiloError, avisos.titulo, avisos.idFallo);
    };
    const auto rehusar = [&](const QString& descripcion) {
        reportar(descripcion, orvinda::Sistema::EstiloInformacion, QStringLiteral("Orvinda"), avisos.idRehusado);
    };
    Trampa::Atrapar(avisos.pista, fallo, rehusar, [&] {
        orvinda::Conexion& inicio = Publico::Sistema->ObtenerConexion();
        const MarcadoresSql::Reglas reglas = ReglasSql::De(inicio);
        orvinda::Transaccion transaccion(inicio, &Publico::Conexion);

        Publico::CadenaSql = consulta(reglas.modo);
        orvinda::Recordset rs = Publico::Conexion().Execute(Publico::CadenaSql);
        if (rs.Eof())
            return;
        const std::optional<QString> sentencia = expansion(rs, reglas);
        if (!sentencia)
            return;
        MarcadoresSql::RehusarTransacciones(*sentencia, reglas.dialecto);
        orvinda::Conexion& conexion = Publico::Conexion();
        conexion.Execute(*sentencia);
        sinCambios = conexion.RegistrosAfectados() == 0;
        transaccion.Confirmar();
        resultado = true;
    });
    return resultado;
}

} // namespace rm640
