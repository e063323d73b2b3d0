#pragma once

#include <QString>

namespace orvinda {

class Conexion;
struct RegistroBitacora;

// How a row joins the decision log. Writers take turns at the one-row head
// table (Bitacora_Cabeza), locked for the rest of their transaction, so two
// shells never fork the chain: each reads the last id and hash there, takes
// the next id, seals its row and moves the head on. SQLite's write lock
// already makes them take turns; a server locks the row.
class EscrituraBitacora
{
public:
    static inline const QString Tabla = QStringLiteral("Bitacora_Decisiones");
    static inline const QString TablaCabeza = QStringLiteral("Bitacora_Cabeza");
    // The command that adds what a database lacks.
    static inline const QString OrdenActualizar = QStringLiteral("orvinda --actualizar-esquema [--db …]");

    // Both tables are there.
    static bool Existe(Conexion& conexion);
    // Why nothing is decided on a database without them, and how to add them.
    static QString SinBitacora(const QString& orden = OrdenActualizar);
    // Why no decision can leave its trail here, naming the command that
    // mends it: the log missing, or Operadores without the account of each
    // operator. Empty when nothing is missing.
    static QString Falta(Conexion& conexion, const QString& orden = OrdenActualizar);
    // Throws what Falta says, so that a decision stops before anything is
    // asked or run; looked for once per session.
    static void Exigir(Conexion& conexion);

    // Appends registro inside the caller's open transaction and fills in
    // what the database decides: its id, the server's date, the session's
    // account and both hashes. A failure names the table; one that the
    // connection itself explains (lost session, lock, read-only) keeps its
    // cause.
    static void Anotar(Conexion& conexion, RegistroBitacora& registro);
};

} // namespace orvinda
