#include "review/SentenciaDeRevision.h"

#include "host/datos/Conexion.h"
#include "host/datos/Recordset.h"
#include "host/servicios/Sistema.h"
#include "shell/Publico.h"
#include "shell/Trampa.h"

namespace rm640 {

bool SentenciaDeRevision::Ejecutar(const Reportar& reportar, const Avisos& avisos, const Consulta& consulta,
                                   const Expansion& expansion, bool& sinCambios)
{
    bool resultado = false;
    const auto fallo = [&](const QString& descripcion) {
        Publico::DeshacerTransaccion();
        reportar(descripcion, orvinda::Sistema::EstiloError, avisos.titulo, avisos.idFallo);
    };
    const auto rehusar = [&](const QString& descripcion) {
        Publico::DeshacerTransaccion();
        reportar(descripcion, orvinda::Sistema::EstiloInformacion, QStringLiteral("Orvinda"), avisos.idRehusado);
    };
    Trampa::Atrapar(avisos.pista, fallo, rehusar, [&] {
        orvinda::Conexion& inicio = Publico::Sistema->ObtenerConexion();
        const MarcadoresSql::Modo modo = MarcadoresSql::LeerModo(inicio);
        inicio.BeginTrans();

        Publico::CadenaSql = consulta(modo);
        orvinda::Recordset rs = Publico::Sistema->ObtenerConexion().Execute(Publico::CadenaSql);
        if (rs.Eof()) {
            rs.Close();
            Publico::Sistema->ObtenerConexion().RollbackTrans();
            return;
        }
        const std::optional<QString> sentencia = expansion(rs, modo);
        if (!sentencia) {
            Publico::Sistema->ObtenerConexion().RollbackTrans();
            return;
        }
        orvinda::Conexion& conexion = Publico::Sistema->ObtenerConexion();
        conexion.Execute(*sentencia);
        sinCambios = conexion.RegistrosAfectados() == 0;
        Publico::Sistema->ObtenerConexion().CommitTrans();
        resultado = true;
    });
    return resultado;
}

} // namespace rm640
