#include "comun/SistemaGrabador.h"

#include "comun/Grabacion.h"

#include <QWidget>
#include <gtest/gtest.h>

SistemaGrabador::SistemaGrabador(Grabacion& g, orvinda::Conexion& conexion)
    : g(g)
    , m_conexion(conexion)
{
}

orvinda::Conexion& SistemaGrabador::ObtenerConexion()
{
    g.llamadas.append(QStringLiteral("ObtenerConexion()"));
    return m_conexion;
}

QString SistemaGrabador::ObtenerOperador()
{
    g.llamadas.append(QStringLiteral("ObtenerOperador()"));
    return g.operador;
}

qint16 SistemaGrabador::NivelSistema()
{
    g.llamadas.append(QStringLiteral("NivelSistema()"));
    return g.nivel;
}

QVariant SistemaGrabador::LeerParametro(const QString& clave, int ambito, const QString& tipo, const QString& omision)
{
    g.llamadas.append(QStringLiteral("LeerParametro(%1,%2,%3,%4)").arg(clave).arg(ambito).arg(tipo, omision));
    return g.parametros.value(clave);
}

QVariant SistemaGrabador::MostrarMensaje(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana,
                                         const QString& modulo, const QString& idError)
{
    g.llamadas.append(QStringLiteral("MostrarMensaje(%1)").arg(idError));
    // Every message the component shows is its own.
    EXPECT_EQ(modulo.toStdString(), "RM640") << idError.toStdString();
    const Grabacion::Mensaje m{mensaje, estilo, titulo, ventana, modulo, idError, ventana ? ventana->objectName() : QString()};
    g.mensajes.append(m);
    if (g.alMostrar)
        g.alMostrar(m);
    if (!g.respuestas.isEmpty())
        return g.respuestas.takeFirst();
    return (estilo & 0x0F) == 4 ? Sistema::RespuestaNo : Sistema::RespuestaAceptar;
}
