#include "editor/Ensayo.h"

#include "config/Parametros.h"
#include "host/datos/Conexion.h"
#include "host/datos/Transaccion.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "marcadores/MarcadoresSql.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/RevisionDocumento.h"

namespace rm640 {

namespace {

orvinda::Conexion& Conexion()
{
    return Publico::Sistema->ObtenerConexion();
}

// Whatever cuerpo runs is undone, however it ends.
template <typename Cuerpo>
auto Deshecho(Cuerpo&& cuerpo)
{
    const orvinda::Transaccion deshecha(Conexion(), &Publico::Conexion);
    return cuerpo();
}

// Runs the expanded statement (when there is one) and notes what it did.
void Ejecutar(Ensayo::Resultado& r, const std::function<std::optional<QString>(MarcadoresSql::Modo)>& expansion)
{
    Trampa::Atrapar([&r](const QString& descripcion) { r.error = descripcion; },
                    [&] {
                        Deshecho([&] {
                            const std::optional<QString> sentencia = expansion(Parametros::ModoSustitucion(Conexion()));
                            if (!sentencia)
                                return;
                            r.sentencia = *sentencia;
                            orvinda::Conexion& c = Conexion();
                            c.Execute(r.sentencia);
                            r.filas = c.RegistrosAfectados();
                        });
                    });
}

} // namespace

Ensayo::Ensayo(ConfiguracionAutorizacion configuracion)
    : m_c(std::move(configuracion))
{
}

QStringList Ensayo::Folios() const
{
    return Deshecho([this] {
        orvinda::Recordset rs = Conexion().Execute(m_c.sql);
        if (rs.FieldsCount() == 0)
            throw orvinda::ErrorRm(QStringLiteral("La consulta del listado no devuelve ninguna columna."));
        QStringList folios;
        for (; !rs.Eof() && folios.size() < MaximoFolios; rs.MoveNext()) {
            const orvinda::Campo folio = rs.Fields(0);
            folios.append(folio.EsNulo() ? QString() : folio.Texto());
        }
        return folios;
    });
}

QString Ensayo::Renderizar(const QString& folio) const
{
    return Deshecho([&] {
        orvinda::Conexion& c = Conexion();
        return RevisionDocumento::Renderizar(m_c.plantilla, m_c.sqlPlantilla, folio, Parametros::ModoSustitucion(c),
                                             Parametros::ModoPlantilla(c));
    });
}

Ensayo::Resultado Ensayo::Autorizar(const QString& folio, const ValorDe& valorDe) const
{
    Resultado r;
    const QString operador = Publico::Sistema->ObtenerOperador();
    const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());
    Ejecutar(r, [&](MarcadoresSql::Modo modo) -> std::optional<QString> {
        const ExpansionAutorizacion expansion = RevisionDocumento::ExpandirAutorizacion(
            m_c.sqlAutorizacion, m_c.sqlPlantilla, m_c.camposAutorizar, folio, valorDe,
            [&r](QString& comentario) { r.comentario = comentario; }, operador, fecha, modo);
        if (!expansion.completa()) {
            r.error = RevisionDocumento::CampoObligatorio(*expansion.campoFaltante);
            return std::nullopt;
        }
        return expansion.sentencia;
    });
    if (r.error.isEmpty())
        r.formato = m_c.formatoImpresion;
    return r;
}

Ensayo::Resultado Ensayo::Rechazar(const QString& folio) const
{
    Resultado r;
    const QString operador = Publico::Sistema->ObtenerOperador();
    const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());
    Ejecutar(r, [&](MarcadoresSql::Modo modo) -> std::optional<QString> {
        return MarcadoresSql::ExpandirRechazo(m_c.sqlRechazar, folio, operador, fecha, modo);
    });
    return r;
}

} // namespace rm640
