#include "review/SentenciaDeRevision.h"

#include "config/Parametros.h"
#include "config/ReglasSql.h"
#include "host/datos/Conexion.h"
#include "host/datos/Recordset.h"
#include "host/datos/Transaccion.h"
#include "host/servicios/Sistema.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"

namespace rm640 {

SentenciaDeRevision::Resultado SentenciaDeRevision::Ejecutar(const Reportar& reportar, const Avisos& avisos,
                                                             const Consulta& consulta, const Expansion& expansion,
                                                             const AntesDeConfirmar& antesDeConfirmar)
{
    Resultado resultado;
    // What fails once the statement ran is no fault of the configuration:
    // it undoes the decision and goes on to the caller's own trap.
    std::exception_ptr posterior;
    const auto fallo = [&](const QString& descripcion) {
        reportar(descripcion, orvinda::Sistema::EstiloError, avisos.titulo, avisos.idFallo);
    };
    const auto rehusar = [&](const QString& descripcion) {
        reportar(descripcion, orvinda::Sistema::EstiloInformacion, QStringLiteral("Orvinda"), avisos.idRehusado);
    };
    Trampa::Atrapar(avisos.pista, fallo, rehusar, [&] {
        orvinda::Conexion& inicio = Publico::Sistema->ObtenerConexion();
        const MarcadoresSql::Reglas reglas = ReglasSql::De(inicio);
        const int limite = Parametros::FilasPorDocumento(inicio);
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
        resultado.sentencia = *sentencia;
        resultado.filas = conexion.RegistrosAfectados();
        if (resultado.filas == 0) {
            resultado.desenlace = Desenlace::SinCambios;
            return;
        }
        if (resultado.filas > limite) {
            resultado.desenlace = Desenlace::Excedida;
            transaccion.Deshacer();
            reportar(QStringLiteral("%1 cambiaría %2 filas y el límite por documento es %3 (parámetro general %4): "
                                    "se deshizo y no se aplicó ningún cambio. Avise a quien mantiene la configuración: "
                                    "a la sentencia puede faltarle la condición sobre el folio o, si debe cambiar "
                                    "también filas de detalle, hay que subir ese límite.")
                         .arg(avisos.decision)
                         .arg(resultado.filas)
                         .arg(limite)
                         .arg(Parametros::FilasPorDocumentoNombre),
                     orvinda::Sistema::EstiloError, avisos.titulo, avisos.idExcedida);
            return;
        }
        try {
            if (antesDeConfirmar)
                antesDeConfirmar(resultado.sentencia, resultado.filas);
        } catch (...) {
            posterior = std::current_exception();
            return;
        }
        transaccion.Confirmar();
        resultado.desenlace = Desenlace::Confirmada;
    });
    if (posterior)
        std::rethrow_exception(posterior);
    return resultado;
}

} // namespace rm640
