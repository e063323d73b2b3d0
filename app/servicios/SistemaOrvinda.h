#pragma once

#include "host/servicios/Sistema.h"

#include <QSet>

namespace orvinda {

class Mensajero;

// The shell's system services over its database.
class SistemaOrvinda : public Sistema
{
public:
    // nivel < 0: the operator's level is read from Operadores.
    SistemaOrvinda(Conexion& conexion, Mensajero& mensajero, QString operador, int nivel);

    Conexion& ObtenerConexion() override;
    QString ObtenerOperador() override;
    qint16 NivelSistema() override;
    QVariant LeerParametro(const QString& clave, int ambito, const QString& tipo, const QString& omision) override;
    QVariant MostrarMensaje(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana,
                            const QString& modulo, const QString& idError) override;
    QVariant MostrarInforme(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana,
                            const QString& modulo, const QString& idError, qsizetype graves) override;
    QVariant Preguntar(const QString& mensaje, const QString& titulo, QWidget* ventana, const QString& modulo,
                       const QString& idError, int predeterminada, int desatendida) override;
    // Unattended, nothing opens.
    bool AbrirArchivo(const QString& ruta) override;

    // A stored value in the type asked for: "T" text, "N" number, "B" Boolean.
    static QVariant ConvertirParametro(const QVariant& valor, const QString& tipo);

private:
    Conexion& m_conexion;
    Mensajero& m_mensajero;
    QString m_operador;
    int m_nivel;
    QSet<QString> m_faltantesAvisados;
};

} // namespace orvinda
