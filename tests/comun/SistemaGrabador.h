#pragma once

#include "comun/Grabacion.h"
#include "host/servicios/Sistema.h"

#include <QWidget>
#include <gtest/gtest.h>

// Sistema for tests: the real connection, everything else scripted and recorded.
class SistemaGrabador : public orvinda::Sistema
{
public:
    SistemaGrabador(Grabacion& g, orvinda::Conexion& conexion);

    orvinda::Conexion& ObtenerConexion() override
    {
        g.llamadas.append("ObtenerConexion()");
        return m_conexion;
    }
    QString ObtenerOperador() override
    {
        g.llamadas.append("ObtenerOperador()");
        return g.operador;
    }
    qint16 NivelSistema() override
    {
        g.llamadas.append("NivelSistema()");
        return g.nivel;
    }
    QVariant LeerParametro(const QString& clave, int ambito, const QString& tipo, const QString& omision) override
    {
        g.llamadas.append(QStringLiteral("LeerParametro(%1,%2,%3,%4)").arg(clave).arg(ambito).arg(tipo, omision));
        return g.parametros.value(clave);
    }
    QVariant MostrarMensaje(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana, const QString& modulo,
                            const QString& idError) override
    {
        g.llamadas.append(QStringLiteral("MostrarMensaje(%1)").arg(idError));
        g.mensajes.append(Grabar(mensaje, estilo, titulo, ventana, modulo, idError));
        if (g.alMostrar)
            g.alMostrar(g.mensajes.last());
        if (!g.respuestas.isEmpty())
            return g.respuestas.takeFirst();
        return (estilo & 0x0F) == 4 ? Sistema::RespuestaNo : Sistema::RespuestaAceptar;
    }
    QVariant MostrarInforme(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana, const QString& modulo, const QString& idError,
                            qsizetype graves) override
    {
        const QVariant r = MostrarMensaje(mensaje, estilo, titulo, ventana, modulo, idError);
        g.mensajes.last().graves = graves;
        return r;
    }
    QVariant Preguntar(const QString& mensaje, const QString& titulo, QWidget* ventana, const QString& modulo, const QString& idError, int predeterminada,
                       int desatendida) override
    {
        g.llamadas.append(QStringLiteral("Preguntar(%1,%2,%3)").arg(idError).arg(predeterminada).arg(desatendida));
        g.preguntas.append(Grabar(mensaje, EstiloPregunta, titulo, ventana, modulo, idError));
        return g.respuestasPreguntas.isEmpty() ? desatendida : g.respuestasPreguntas.takeFirst();
    }

    bool AbrirArchivo(const QString& ruta) override
    {
        g.llamadas.append(QStringLiteral("AbrirArchivo(%1)").arg(ruta));
        return true;
    }

private:
    static Grabacion::Mensaje Grabar(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana, const QString& modulo,
                                     const QString& idError)
    {
        // Every message the component shows is its own.
        EXPECT_EQ(modulo.toStdString(), "RM640") << idError.toStdString();
        return {mensaje, estilo, titulo, idError, ventana ? ventana->objectName() : QString()};
    }

    Grabacion& g;
    orvinda::Conexion& m_conexion;
};
