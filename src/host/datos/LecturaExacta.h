#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QSqlDatabase;

namespace orvinda {

// A query's rows as text exactly as the engine stores it. Qt's drivers decode
// through UTF-16: SQLite's then turns noncharacters into U+FFFD, and ODBC's
// drops a leading U+FEFF. Here SQLite and ODBC are read through their own
// handles instead; other engines through Qt.
class LecturaExacta
{
public:
    // Each row's values left to right, a null as a null string; fila returns
    // false to stop. Throws ErrorRm, as ErrorSql words it.
    using Fila = std::function<bool(const QStringList& valores)>;
    static void Recorrer(const QSqlDatabase& db, const QString& consulta, const Fila& fila);
};

} // namespace orvinda
