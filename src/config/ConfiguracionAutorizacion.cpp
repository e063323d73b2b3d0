#include "config/ConfiguracionAutorizacion.h"

#include "host/datos/Conexion.h"

namespace rm640 {

namespace {

QString Texto(const orvinda::Recordset& fila, const char* columna)
{
    const orvinda::Campo c = fila.Fields(QLatin1String(columna));
    return c.EsNulo() ? QString() : c.Texto();
}

std::optional<QString> TextoONulo(const orvinda::Recordset& fila, const char* columna)
{
    const orvinda::Campo c = fila.Fields(QLatin1String(columna));
    if (c.EsNulo())
        return std::nullopt;
    return c.Texto();
}

} // namespace

ConfiguracionAutorizacion::Estado ConfiguracionAutorizacion::EstadoLogico() const
{
    return estado && *estado != QLatin1String(EstadoBaja) ? Estado::Activa : Estado::Baja;
}

ConfiguracionAutorizacion ConfiguracionAutorizacion::DesdeFila(const orvinda::Recordset& fila)
{
    ConfiguracionAutorizacion c;
    c.clave = Texto(fila, "Ca_Cve_Configuracion_Autorizacion");
    c.descripcion = Texto(fila, "Ca_Descripcion");
    c.etiqueta = Texto(fila, "Ca_Etiqueta");
    c.formatoImpresion = Texto(fila, "Ca_Formato_Impresion");
    c.tabla = Texto(fila, "Ca_Tabla");
    c.tablaClave = Texto(fila, "Ca_Tabla_Clave");
    c.sql = Texto(fila, "Ca_Sql");
    c.sqlAutorizacion = Texto(fila, "Ca_Sql_Autoriazion");
    c.camposAutorizar = Texto(fila, "Ca_Campos_Autorizar");
    c.sqlPlantilla = Texto(fila, "Ca_Sql_Plantilla");
    c.plantilla = Texto(fila, "Ca_Plantilla_Autorizacion");
    c.sqlRechazar = Texto(fila, "Ca_Sql_Rechazar");
    c.fechaAlta = TextoONulo(fila, "Fecha_Alta");
    c.fechaUltModif = TextoONulo(fila, "Fecha_Ult_Modif");
    c.operAlta = Texto(fila, "Oper_Alta");
    c.operUltModif = Texto(fila, "Oper_Ult_Modif");
    c.operBaja = Texto(fila, "Oper_Baja");
    c.fechaBaja = TextoONulo(fila, "Fecha_Baja");
    c.estado = TextoONulo(fila, "Es_Cve_Estado");
    return c;
}

std::optional<ConfiguracionAutorizacion> ConfiguracionAutorizacion::Leer(orvinda::Conexion& conexion,
                                                                         const QString& clave)
{
    orvinda::Recordset rs = conexion.Execute(
        QStringLiteral("SELECT * FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = ")
        + LiteralSimple(clave));
    if (rs.Eof())
        return std::nullopt;
    return DesdeFila(rs);
}

QString ConfiguracionAutorizacion::EscaparSimple(const QString& valor)
{
    QString r = valor;
    return r.replace(u'\'', QLatin1String("''"));
}

QString ConfiguracionAutorizacion::EscaparDoble(const QString& valor)
{
    QString r = valor;
    return r.replace(u'"', QLatin1String("\"\""));
}

QString ConfiguracionAutorizacion::LiteralSimple(const QString& valor)
{
    return u'\'' + EscaparSimple(valor) + u'\'';
}

QString ConfiguracionAutorizacion::LiteralDoble(const QString& valor)
{
    return u'"' + EscaparDoble(valor) + u'"';
}

} // namespace rm640
