#pragma once

#include "marcadores/MarcadoresSql.h"

#include <QString>
#include <functional>
#include <optional>

namespace orvinda {
class Recordset;
}

namespace rm640 {

// What authorizing and rejecting share: in one transaction, read the stored
// statement of the configuration, expand it, run it, hand over what belongs
// to the decision and commit. A failure rolls back and is reported under the
// caller's hint, title and id; a value refused for where it stands is
// reported as information under its own id. A statement that would run a
// transaction command is the configuration's fault and runs not at all. A
// statement that changes no row, or more rows than one document has
// (RM640_FILAS_POR_DOCUMENTO), commits nothing.
class SentenciaDeRevision
{
public:
    using Reportar = std::function<void(const QString& mensaje, int estilo, const QString& titulo, const QString& id)>;
    // The SELECT of the configuration row, as the caller writes it.
    using Consulta = std::function<QString(MarcadoresSql::Modo)>;
    // The statement to run from that row (which it closes); nothing stops
    // the run, after the caller's own report, with a rollback.
    using Expansion = std::function<std::optional<QString>(orvinda::Recordset& fila, const MarcadoresSql::Reglas&)>;
    // What must commit with the decision or not at all (the rejection's
    // comment, the decision's trail): run after the statement, before the
    // commit. Its failure undoes the decision and is thrown to the caller,
    // whose own trap reports it: it is not the configuration's fault.
    using AntesDeConfirmar = std::function<void(const QString& sentencia, int filas)>;

    struct Avisos
    {
        QString pista, titulo, idFallo, idRehusado;
        // "La autorización", "El rechazo": what the row limit message names.
        QString decision;
        QString idExcedida;
    };

    enum class Desenlace {
        Confirmada, // ran, changed rows within the limit, committed
        SinCambios, // changed no row: undone; someone else decided first
        Excedida, // changed more rows than the limit: undone and reported
        Detenida, // never ran: no configuration row, a stop, a failure
    };
    struct Resultado
    {
        Desenlace desenlace = Desenlace::Detenida;
        QString sentencia;
        int filas = -1;
    };

    static Resultado Ejecutar(const Reportar& reportar, const Avisos& avisos, const Consulta& consulta,
                              const Expansion& expansion, const AntesDeConfirmar& antesDeConfirmar = {});
};

} // namespace rm640
