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
// statement of the configuration, expand it, run it and commit. A failure
// rolls back and is reported under the caller's hint, title and id; a value
// refused for where it stands is reported as information under its own id.
// A statement that would run a transaction command is the configuration's
// fault and runs not at all.
class SentenciaDeRevision
{
public:
    using Reportar = std::function<void(const QString& mensaje, int estilo, const QString& titulo, const QString& id)>;
    // The SELECT of the configuration row, as the caller writes it.
    using Consulta = std::function<QString(MarcadoresSql::Modo)>;
    // The statement to run from that row (which it closes); nothing stops
    // the run, after the caller's own report, with a rollback.
    using Expansion = std::function<std::optional<QString>(orvinda::Recordset& fila, const MarcadoresSql::Reglas&)>;

    struct Avisos
    {
        QString pista, titulo, idFallo, idRehusado;
    };

    // True once committed; sinCambios then says whether the statement changed
    // no row. A configuration row that no longer exists returns false quietly.
    static bool Ejecutar(const Reportar& reportar, const Avisos& avisos, const Consulta& consulta,
                         const Expansion& expansion, bool& sinCambios);
};

} // namespace rm640
