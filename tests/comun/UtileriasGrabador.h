#pragma once

#include "servicios/UtileriasOrvinda.h"

struct Grabacion;

// The shell's real utilities over the test database, with every call
// recorded; the date, the next key and the comment store are scripted.
class UtileriasGrabador : public orvinda::UtileriasOrvinda
{
public:
    UtileriasGrabador(Grabacion& g, orvinda::Conexion& conexion);

    QString BuscarValor(const QString& tabla, const QString& columnaClave, const QString& valorClave,
                        const QString& columnaResultado, int opcion, const QString& extra1, const QString& extra2,
                        const QString& extra3) override;
    qint32 SiguienteClave(const QString& tabla, const QString& columnaClave, const QString& extra1,
                          const QString& extra2, const QString& extra3, const QString& extra4, const QString& extra5,
                          const QString& extra6, const QString& extra7) override;
    QDateTime FechaServidor() override;
    QString FormatearFecha(const QDateTime& fecha) override;
    void GuardarComentario(const QString& tabla, const QString& folio, QString& comentario) override;
    void LimpiarForma(QWidget& forma, int opcion) override;
    void HabilitarForma(QWidget& forma, int opcion) override;
    void LlenarLista(QString consulta, orvinda::ListView& lista, bool& bandera) override;
    void FormatearConsulta(orvinda::RichTextBox& caja, int opcion) override;
    QString ObtenerTransaccion(QString& transaccion, QString& aplicacion) override;

private:
    void Anotar(const char* operacion, const QStringList& argumentos);
    Grabacion& g;
};
