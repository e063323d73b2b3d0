#pragma once

#include "comun/Grabacion.h"
#include "servicios/UtileriasOrvinda.h"

#include <QWidget>

// The shell's real utilities over the test database, with every call
// recorded; the date, the next key and the comment store are scripted.
class UtileriasGrabador : public orvinda::UtileriasOrvinda
{
public:
    UtileriasGrabador(Grabacion& g, orvinda::Conexion& conexion);

    QString BuscarValor(const QString& tabla, const QString& columnaClave, const QString& valorClave, const QString& columnaResultado, int opcion,
                        const QString& e1, const QString& e2, const QString& e3) override
    {
        Anotar("BuscarValor", {tabla, columnaClave, valorClave, columnaResultado, QString::number(opcion), e1, e2, e3});
        return UtileriasOrvinda::BuscarValor(tabla, columnaClave, valorClave, columnaResultado, opcion, e1, e2, e3);
    }
    qint32 SiguienteClave(const QString& tabla, const QString& columnaClave, const QString& e1, const QString& e2, const QString& e3, const QString& e4,
                          const QString& e5, const QString& e6, const QString& e7) override
    {
        Anotar("SiguienteClave", {tabla, columnaClave, e1, e2, e3, e4, e5, e6, e7});
        return g.siguienteClave;
    }
    QDateTime FechaServidor() override
    {
        Anotar("FechaServidor", {});
        return g.fechaServidor;
    }
    QString FormatearFecha(const QDateTime& fecha) override
    {
        Anotar("FormatearFecha", {fecha.toString(Qt::ISODate)});
        return UtileriasOrvinda::FormatearFecha(fecha);
    }
    void GuardarComentario(const QString& tabla, const QString& folio, QString& comentario) override
    {
        Anotar("GuardarComentario", {tabla, folio, comentario});
        if (g.alGuardarComentario)
            g.alGuardarComentario(comentario);
        g.comentarios.append(tabla + u'|' + folio + u'|' + comentario);
    }
    void LimpiarForma(QWidget& forma, int opcion) override
    {
        Anotar("LimpiarForma", {forma.objectName(), QString::number(opcion)});
        UtileriasOrvinda::LimpiarForma(forma, opcion);
    }
    void LlenarLista(QString consulta, orvinda::ListView& lista, bool& bandera) override
    {
        Anotar("LlenarLista", {consulta, QLatin1String(bandera ? "true" : "false")});
        UtileriasOrvinda::LlenarLista(consulta, lista, bandera);
    }
    void FormatearConsulta(orvinda::RichTextBox& caja, int opcion) override
    {
        Anotar("FormatearConsulta", {QString::number(opcion)});
        UtileriasOrvinda::FormatearConsulta(caja, opcion);
    }
    QString ObtenerTransaccion(QString& transaccion, QString& aplicacion) override
    {
        Anotar("ObtenerTransaccion", {transaccion, aplicacion});
        return g.transaccion;
    }

private:
    void Anotar(const char* operacion, const QStringList& argumentos) { g.llamadas.append(QLatin1String(operacion) + u'(' + argumentos.join(u',') + u')'); }
    Grabacion& g;
};
