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
};

} // namespace orvinda
