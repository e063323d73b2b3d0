#include "editor/Ensayo.h"

#include "config/Parametros.h"
#include "config/ReglasSql.h"
#include "host/datos/Conexion.h"
#include "host/datos/Transaccion.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "marcadores/MarcadoresSql.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/RevisionDocumento.h"

#include <QRegularExpression>

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

// The table an UPDATE, DELETE or INSERT names first.
QString TablaDe(const QString& sentencia)
{
    static const QRegularExpression escritura(
        QStringLiteral("^\\s*(?:UPDATE|DELETE\\s+FROM|INSERT\\s+INTO)\\s+([^\\s(]+)"),
        QRegularExpression::CaseInsensitiveOption);
    return escritura.match(sentencia).captured(1);
}

// Runs the expanded statement (when there is one) and notes what it did.
// A transaction command would end the rehearsal's own transaction for real:
// such a statement is shown, with why it did not run.
void Ejecutar(Ensayo::Resultado& r, const QString& tabla,
              const std::function<std::optional<QString>(const MarcadoresSql::Reglas&)>& expansion)
{
    Trampa::Atrapar([&r](const QString& descripcion) { r.error = descripcion; },
                    [&] {
                        Deshecho([&] {
                            const MarcadoresSql::Reglas reglas = ReglasSql::De(Conexion());
                            const std::optional<QString> sentencia = expansion(reglas);
                            if (!sentencia)
                                return;
                            r.sentencia = *sentencia;
                            MarcadoresSql::RehusarTransacciones(r.sentencia, reglas.dialecto);
                            orvinda::Conexion& c = Conexion();
                            c.Execute(r.sentencia);
                            r.filas = c.RegistrosAfectados();
                            r.limite = Parametros::FilasPorDocumento(c);
                            r.tabla = TablaDe(r.sentencia);
                            if (r.tabla.isEmpty())
                                r.tabla = tabla;
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
        orvinda::Conexion& c = Conexion();
        MarcadoresSql::RehusarTransacciones(m_c.sql, ReglasSql::Dialecto(c));
        orvinda::Recordset rs = c.Execute(m_c.sql);
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

QString Ensayo::Renderizar(const QString& folio, QString* solicitante) const
{
    return Deshecho([&] {
        orvinda::Conexion& c = Conexion();
        return RevisionDocumento::Renderizar(m_c.plantilla, m_c.sqlPlantilla, folio, ReglasSql::De(c),
                                             Parametros::ModoPlantilla(c), solicitante);
    });
}

Ensayo::Resultado Ensayo::Autorizar(const QString& folio, const ValorDe& valorDe) const
{
    Resultado r;
    const QString operador = Publico::Sistema->ObtenerOperador();
    const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());
    Ejecutar(r, m_c.tabla, [&](const MarcadoresSql::Reglas& reglas) -> std::optional<QString> {
        const ExpansionAutorizacion expansion = MarcadoresSql::ExpandirAutorizacion(
            m_c.sqlAutorizacion, m_c.camposAutorizar,
            RevisionDocumento::LeerColumnas(m_c.sqlPlantilla, folio, reglas).nombres, valorDe,
            [&r](QString& comentario) { r.comentario = comentario; }, folio, operador, fecha, reglas);
        if (!expansion.completa()) {
            r.error = RevisionDocumento::CampoObligatorio(*expansion.campoFaltante);
            return std::nullopt;
        }
        return expansion.sentencia;
    });
    if (r.error.isEmpty() && r.filas <= r.limite)
        r.formato = m_c.formatoImpresion;
    return r;
}

Ensayo::Resultado Ensayo::Rechazar(const QString& folio) const
{
    Resultado r;
    const QString operador = Publico::Sistema->ObtenerOperador();
    const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());
    Ejecutar(r, m_c.tabla, [&](const MarcadoresSql::Reglas& reglas) -> std::optional<QString> {
        return MarcadoresSql::ExpandirRechazo(m_c.sqlRechazar, folio, operador, fecha, reglas);
    });
    return r;
}

} // namespace rm640
