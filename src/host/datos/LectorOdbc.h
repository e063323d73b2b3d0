#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

class QSqlDatabase;

namespace orvinda {

class CeldasListado;

// A listing on a server read through the driver manager's own handle. Qt's
// ODBC driver decodes text as UTF-16 that may begin with a byte order mark,
// and drops a leading U+FEFF (or swaps a text that starts with U+FFFE): a
// folio that starts so would reach the list, and the statement, altered.
// Here each text goes across as the server sent it; numbers and dates are
// read as the Qt driver reads them, so a list looks the same either way.
class LectorOdbc
{
public:
    // The connection handle under a Qt session on ODBC; nullptr for any other.
    static void* Handle(const QSqlDatabase& db);
    // Empty when every row was read (or the read was cancelled); otherwise
    // the server's error as the shell words it. perdida: the session is
    // gone; leida: the statement ran before anything failed.
    static QString Leer(void* conexion, const QString& consulta,
                        const std::function<void(const QStringList&)>& columnas, CeldasListado& celdas,
                        const std::atomic<bool>& cancelada, bool& perdida, bool& leida);
};

} // namespace orvinda
