#include "comun/UtileriasGrabador.h"

#include "comun/Grabacion.h"

#include <QWidget>

UtileriasGrabador::UtileriasGrabador(Grabacion& g, orvinda::Conexion& conexion)
    : UtileriasOrvinda(conexion, g.operador)
    , g(g)
{
}

QString UtileriasGrabador::BuscarValor(const QString& tabla, const QString& columnaClave, const QString& valorClave,
                                       const QString& columnaResultado, int opcion, const QString& extra1,
                                       const QString& extra2, const QString& extra3)
{
    g.llamadas.append(QStringLiteral("BuscarValor(%1,%2,%3,%4,%5,%6,%7,%8)")
                          .arg(tabla, columnaClave, valorClave, columnaResultado)
                          .arg(opcion)
                          .arg(extra1, extra2, extra3));
    return UtileriasOrvinda::BuscarValor(tabla, columnaClave, valorClave, columnaResultado, opcion, extra1, extra2, extra3);
}

qint32 UtileriasGrabador::SiguienteClave(const QString& tabla, const QString& columnaClave, const QString& e1,
                                         const QString& e2, const QString& e3, const QString& e4, const QString& e5,
                                         const QString& e6, const QString& e7)
{
    g.llamadas.append(QStringLiteral("SiguienteClave(%1,%2,%3,%4,%5,%6,%7,%8,%9)")
                          .arg(tabla, columnaClave, e1, e2, e3, e4, e5, e6, e7));
    return g.siguienteClave;
}

QDateTime UtileriasGrabador::FechaServidor()
{
    g.llamadas.append(QStringLiteral("FechaServidor()"));
    return g.fechaServidor;
}

QString UtileriasGrabador::FormatearFecha(const QDateTime& fecha)
{
    g.llamadas.append(QStringLiteral("FormatearFecha(%1)").arg(fecha.toString(Qt::ISODate)));
    return UtileriasOrvinda::FormatearFecha(fecha);
}

void UtileriasGrabador::GuardarComentario(const QString& tabla, const QString& folio, QString& comentario)
{
    g.llamadas.append(QStringLiteral("GuardarComentario(%1,%2,%3)").arg(tabla, folio, comentario));
    if (g.alGuardarComentario)
        g.alGuardarComentario(comentario);
    g.comentarios.append(tabla + u'|' + folio + u'|' + comentario);
}

void UtileriasGrabador::LimpiarForma(QWidget& forma, int opcion)
{
    g.llamadas.append(QStringLiteral("LimpiarForma(%1,%2)").arg(forma.objectName()).arg(opcion));
    UtileriasOrvinda::LimpiarForma(forma, opcion);
}

void UtileriasGrabador::HabilitarForma(QWidget& forma, int opcion)
{
    g.llamadas.append(QStringLiteral("HabilitarForma(%1,%2)").arg(forma.objectName()).arg(opcion));
    UtileriasOrvinda::HabilitarForma(forma, opcion);
}

void UtileriasGrabador::LlenarLista(QString consulta, orvinda::ListView& lista, bool& bandera)
{
    g.llamadas.append(QStringLiteral("LlenarLista(%1,%2)").arg(consulta).arg(bandera ? "true" : "false"));
    UtileriasOrvinda::LlenarLista(consulta, lista, bandera);
}

void UtileriasGrabador::FormatearConsulta(orvinda::RichTextBox& caja, int opcion)
{
    g.llamadas.append(QStringLiteral("FormatearConsulta(%1)").arg(opcion));
    UtileriasOrvinda::FormatearConsulta(caja, opcion);
}

QString UtileriasGrabador::ObtenerTransaccion(QString& transaccion, QString& aplicacion)
{
    g.llamadas.append(QStringLiteral("ObtenerTransaccion(%1,%2)").arg(transaccion, aplicacion));
    return g.transaccion;
}
