#pragma once

#include "host/servicios/ObjetoServicio.h"

#include <QDateTime>
#include <QString>

class QWidget;

namespace orvinda {

class ListView;
class RichTextBox;

// The shell's utilities: lookups, keys, dates, comments, form helpers, list
// filling and statement formatting. Several operations carry arguments the
// whole suite shares (options, extra texts, a flag) that this shell has no
// use for: the component passes fixed values in them (0 or 1, empty texts,
// true, 32), and the implementations here take no decision on them.
class Utilerias : public ObjetoServicio
{
public:
    static constexpr const char* IdPrograma = "Orvinda.Utilerias";

    // The result column of the row whose key column equals the key value;
    // empty text when there is none. opcion and the extras: unused.
    virtual QString BuscarValor(const QString& tabla, const QString& columnaClave, const QString& valorClave,
                                const QString& columnaResultado, int opcion, const QString& extra1,
                                const QString& extra2, const QString& extra3)
        = 0;
    // A whole number not yet used as a key in that table. The extras: unused.
    virtual qint32 SiguienteClave(const QString& tabla, const QString& columnaClave, const QString& extra1,
                                  const QString& extra2, const QString& extra3, const QString& extra4,
                                  const QString& extra5, const QString& extra6, const QString& extra7)
        = 0;
    virtual QDateTime FechaServidor() = 0;
    // The date-time as it goes between single quotes into SQL.
    virtual QString FormatearFecha(const QDateTime& fecha) = 0;
    virtual void GuardarComentario(const QString& tabla, const QString& folio, QString& comentario) = 0;
    // Empties the form's input fields but its key field, and closes them to
    // editing until HabilitarForma opens them. opcion: unused (the component
    // passes 1).
    virtual void LimpiarForma(QWidget& forma, int opcion) = 0;
    virtual void HabilitarForma(QWidget& forma, int opcion) = 0;
    // Starts filling the list with the query's rows, in place of what it
    // held, and returns: the list emits LlenadoTerminado once they are all
    // there (or the read failed). bandera: unused (the component passes true).
    virtual void LlenarLista(QString consulta, ListView& lista, bool& bandera) = 0;
    // Highlights the statement the box shows. opcion: unused (the component passes 32).
    virtual void FormatearConsulta(RichTextBox& caja, int opcion) = 0;
    virtual QString ObtenerTransaccion(QString& transaccion, QString& aplicacion) = 0;
};

} // namespace orvinda
