#include "comun/UtileriasGrabador.h"

#include "comun/Grabacion.h"

#include <QWidget>

UtileriasGrabador::UtileriasGrabador(Grabacion& g, orvinda::Conexion& conexion)
    : UtileriasOrvinda(conexion, g.operador)
    , g(g)
{
}

void UtileriasGrabador::Anotar(const char* operacion, const QStringList& argumentos)
{
    g.llamadas.append(QLatin1String(operacion) + u'(' + argumentos.join(u',') + u')');
}

QString UtileriasGrabador::BuscarValor(const QString& tabla, const QString& columnaClave, const QString& valorClave,
                                       const QString& columnaResultado, int opcion, const QString& extra1,
                                       const QString& extra2, const QString& extra3)
{
    Anotar("BuscarValor", {tabla, columnaClave, valorClave, columnaResultado, QString::number(opcion), extra1, extra2, extra3});
    return UtileriasOrvinda::BuscarValor(tabla, columnaClave, valorClave, columnaResultado, opcion, extra1, extra2, extra3);
}

qint32 UtileriasGrabador::SiguienteClave(const QString& tabla, const QString& columnaClave, const QString& e1,
                                         const QString& e2, const QString& e3, const QString& e4, const QString& e5,
                                         const QString& e6, const QString& e7)
{
    Anotar("SiguienteClave", {tabla, columnaClave, e1, e2, e3, e4, e5, e6, e7});
    return g.siguienteClave;
}

QDateTime UtileriasGrabador::FechaServidor()
{
    Anotar("FechaServidor", {});
    return g.fechaServidor;
}

QString UtileriasGrabador::FormatearFecha(const QDateTime& fecha)
{
    Anotar("FormatearFecha", {fecha.toString(Qt::ISODate)});
    return UtileriasOrvinda::FormatearFecha(fecha);
}

void UtileriasGrabador::GuardarComentario(const QString& tabla, const QString& folio, QString& comentario)
{
    Anotar("GuardarComentario", {tabla, folio, comentario});
    if (g.alGuardarComentario)
        g.alGuardarComentario(comentario);
    g.comentarios.append(tabla + u'|' + folio + u'|' + comentario);
}

void UtileriasGrabador::LimpiarForma(QWidget& forma, int opcion)
{
    Anotar("LimpiarForma", {forma.objectName(), QString::number(opcion)});
    UtileriasOrvinda::LimpiarForma(forma, opcion);
}

void UtileriasGrabador::HabilitarForma(QWidget& forma, int opcion)
{
    Anotar("HabilitarForma", {forma.objectName(), QString::number(opcion)});
    UtileriasOrvinda::HabilitarForma(forma, opcion);
}

void UtileriasGrabador::LlenarLista(QString consulta, orvinda::ListView& lista, bool& bandera)
{
    Anotar("LlenarLista", {consulta, QLatin1String(bandera ? "true" : "false")});
    UtileriasOrvinda::LlenarLista(consulta, lista, bandera);
}

void UtileriasGrabador::FormatearConsulta(orvinda::RichTextBox& caja, int opcion)
{
    Anotar("FormatearConsulta", {QString::number(opcion)});
    UtileriasOrvinda::FormatearConsulta(caja, opcion);
}

QString UtileriasGrabador::ObtenerTransaccion(QString& transaccion, QString& aplicacion)
{
    Anotar("ObtenerTransaccion", {transaccion, aplicacion});
    return g.transaccion;
}
