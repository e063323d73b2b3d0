#pragma once

#include "host/servicios/Utilerias.h"

namespace orvinda {

class Conexion;

// The shell's utilities over its database and the control library.
class UtileriasOrvinda : public Utilerias
{
public:
    UtileriasOrvinda(Conexion& conexion, QString operador);

    QString BuscarValor(const QString& tabla, const QString& columnaClave, const QString& valorClave,
                        const QString& columnaResultado, int opcion, const QString& extra1, const QString& extra2,
                        const QString& extra3) override;
    qint32 SiguienteClave(const QString& tabla, const QString& columnaClave, const QString& extra1,
                          const QString& extra2, const QString& extra3, const QString& extra4, const QString& extra5,
                          const QString& extra6, const QString& extra7) override;
    QDateTime FechaServidor() override;
    QString FormatearFecha(const QDateTime& fecha) override;
    void GuardarComentario(const QString& tabla, const QString& folio, QString& comentario) override;
    // The form's one-line fields, except its key field: emptied and closed.
    void LimpiarForma(QWidget& forma, int opcion) override;
    // The form's one-line fields, except its key field: opened for input.
    void HabilitarForma(QWidget& forma, int opcion) override;
    void LlenarLista(QString consulta, ListView& lista, bool& bandera) override;
    void FormatearConsulta(RichTextBox& caja, int opcion) override;
    QString ObtenerTransaccion(QString& transaccion, QString& aplicacion) override;

    // The key field of a form: the first key-like field in tab order.
    static QWidget* CampoClave(QWidget& forma);

protected:
    Conexion& m_conexion;
    QString m_operador;
};

} // namespace orvinda
