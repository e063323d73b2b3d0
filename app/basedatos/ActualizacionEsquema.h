#pragma once

#include <QStringList>

class QSqlDatabase;

namespace orvinda {

// What --actualizar-esquema does: brings a database made by an earlier
// version up to what this one needs (the decision log and its head, the
// operators' accounts), in one transaction, and touches nothing that is
// already there.
class ActualizacionEsquema
{
public:
    // What was missing, one line each, and is now there; empty when
    // nothing was. Throws std::runtime_error with the driver's text, every
    // change undone.
    static QStringList Actualizar(QSqlDatabase& db);
};

} // namespace orvinda
