#pragma once

#include "host/servicios/Sistema.h"

struct Grabacion;

// Sistema for tests: the real connection, everything else scripted and recorded.
class SistemaGrabador : public orvinda::Sistema
{
public:
    SistemaGrabador(Grabacion& g, orvinda::Conexion& conexion);

    orvinda::Conexion& ObtenerConexion() override;
    QString ObtenerOperador() override;
    qint16 NivelSistema() override;
    QVariant LeerParametro(const QString& clave, int ambito, const QString& tipo, const QString& omision) override;
    QVariant MostrarMensaje(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana,
                            const QString& modulo, const QString& idError) override;

private:
    Grabacion& g;
    orvinda::Conexion& m_conexion;
};
