#pragma once

#include <QString>
#include <QStringList>

#include <span>

class QSqlDatabase;

namespace orvinda {

// One table of the shell database. The statements are kept as data, one set
// per dialect, so that the embedded database and the server script
// (sql/orvinda_sqlserver.sql) can be compared table by table.
struct DefinicionTabla
{
    const char* nombre;
    const char* sqlite; // CREATE TABLE IF NOT EXISTS ...
    const char* indiceSqlite; // CREATE INDEX IF NOT EXISTS ..., or nullptr
    const char* complementoSqlite = nullptr; // a further index, or the table's first row
};

// Schema of the shell database: the authorization configuration, the shell's
// own tables (parameters, operators, comments, print formats, the decision
// log and its head) and the
// business documents that the demo configurations authorize.
class EsquemaBaseDatos
{
public:
    // Creates every missing table (and its index) in one transaction; tables
    // that already exist are left as they are, so running it again is
    // harmless. On failure the transaction is rolled back and
    // std::runtime_error is thrown with the driver's text.
    static void Crear(QSqlDatabase& db);

    // Creation order: Configuracion_Autorizacion first, catalogs before the
    // documents that refer to them, headers before their lines.
    static std::span<const DefinicionTabla> Tablas();

    // The statements are written for SQLite; servers get them translated.
    enum class Dialecto { SQLite, PostgreSQL, SqlServer };
    static Dialecto DialectoDe(QSqlDatabase& db);
    static QString EnDialecto(const char* sentenciaSqlite, Dialecto dialecto);
    static QStringList NombresTablas();
    // The table's statements in the dialect, in the order they run.
    static QStringList Sentencias(const DefinicionTabla& tabla, Dialecto dialecto);
};

} // namespace orvinda
