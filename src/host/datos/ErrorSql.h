#pragma once

#include "host/errores/ErrorRm.h"

class QSqlError;

namespace orvinda {

// What a driver's error means to the shell: its text as the database worded
// it, and whether the session is gone, a lock ran out, or the database only
// reads, as opposed to a statement the server refused.
class ErrorSql
{
public:
    static ErrorRm De(const QSqlError& error);
    static QString Texto(const QSqlError& error);

    // A statement the watchdog cancelled past limite seconds, which failed
    // with error.
    static ErrorRm Cancelada(int limite, const ErrorRm& error);
    // One that did not answer even the cancel, whose session was abandoned;
    // incierto: it may have applied a change all the same.
    static ErrorRm SinRespuesta(int limite, bool incierto);
    static constexpr int NumeroSinRespuesta = 3709;
};

} // namespace orvinda
