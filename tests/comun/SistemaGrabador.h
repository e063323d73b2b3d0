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
        // Every message the component shows is its own.
        EXPECT_EQ(modulo.toStdString(), "RM640") << idError.toStdString();
        const Grabacion::Mensaje m{mensaje, estilo, titulo, idError, ventana ? ventana->objectName() : QString()};
        g.mensajes.append(m);
        if (g.alMostrar)
            g.alMostrar(m);
        if (!g.respuestas.isEmpty())
            return g.respuestas.takeFirst();
        return (estilo & 0x0F) == 4 ? Sistema::RespuestaNo : Sistema::RespuestaAceptar;
    }

private:
    Grabacion& g;
    orvinda::Conexion& m_conexion;
};
