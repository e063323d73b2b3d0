#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

class QSqlDatabase;
struct sqlite3;

namespace orvinda {

class CeldasListado;

// A listing on the embedded database read through SQLite's own handle: the
// engine hands out UTF-8 and the list stores UTF-8, so each value goes
// straight across, with no QVariant and no UTF-16 in between.
class LectorSqlite
{
public:
    // The handle under a Qt session on SQLite; nullptr for any other.
    static sqlite3* Handle(const QSqlDatabase& db);
    // Empty when every row was read (or the read was cancelled); the
    // engine's error otherwise.
    static QString Leer(sqlite3* h, const QString& consulta, const std::function<void(const QStringList&)>& columnas,
                        CeldasListado& celdas, const std::atomic<bool>& cancelada);
};

} // namespace orvinda
