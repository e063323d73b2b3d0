#pragma once

#include "host/errores/ErrorRm.h"
#include "marcadores/LectorSql.h"
#include "marcadores/Marcadores.h"

#include <optional>

namespace rm640 {

// A value that cannot stand where its token does; nothing may run.
class ValorNoAdmitido : public orvinda::ErrorRm
{
public:
    ValorNoAdmitido(const QString& campo, const QString& motivo);
    // For a text other than a statement; donde names it ("la plantilla").
    ValorNoAdmitido(const QString& campo, const QString& motivo, const QString& donde);
    const QString& Campo() const { return m_campo; }

private:
    QString m_campo;
};

// The expansions of the statements that run, with every value quoted by
// where its token stands, as the statement's server reads it: inside '...'
// its single quotes are doubled, inside "..." its double quotes; on
// PostgreSQL inside E'...' its backslashes as well, and inside a dollar quote
// it may not close it; on SQL Server inside [...] its ']' are doubled (SQLite
// cannot write one there, so it is refused). Outside any literal only a
// number (or nothing) is taken. The passes run one after another as in
// Marcadores, so a value that carries a token still receives that token's
// value later. In Modo::Empalmar every value goes in unchanged, as it always
// did.
class MarcadoresSql
{
public:
    enum class Modo { Citar, Empalmar };

    struct Reglas
    {
        Reglas(Modo modo = Modo::Citar, DialectoSql dialecto = DialectoSql::Comun)
            : modo(modo)
            , dialecto(dialecto)
        {
        }
        Modo modo;
        DialectoSql dialecto;
    };

    // The configuration key as it goes between the SELECTs' single quotes.
    static QString Clave(const QString& clave, Modo modo);

    // Every occurrence of marcador replaced by valor quoted for its place;
    // campo names the value in the ValorNoAdmitido it may throw.
    static QString Sustituir(const QString& texto, const QString& marcador, const QString& valor, const QString& campo,
                             DialectoSql dialecto = DialectoSql::Comun);

    static QString ExpandirConsulta(const QString& consulta, const QString& folio, const Reglas& reglas);
    static ExpansionAutorizacion ExpandirAutorizacion(const QString& sentencia, const QString& listaCampos,
                                                      const QStringList& columnas,
                                                      const Marcadores::LectorValor& leerValor,
                                                      const Marcadores::GanchoComentario& guardarComentario,
                                                      const QString& folio, const QString& operador,
                                                      const QString& fecha, const Reglas& reglas);
    static QString ExpandirRechazo(const QString& sentencia, const QString& folio, const QString& operador,
                                   const QString& fecha, const Reglas& reglas);

    // The transaction command the statement would run ("COMMIT", "SET
    // TRANSACTION"...), found outside literals and comments; nullopt when none.
    static std::optional<QString> OrdenDeTransaccion(const QString& sentencia, DialectoSql dialecto);
    // Throws orvinda::ErrorRm when the statement holds one: the component
    // begins and ends every transaction itself.
    static void RehusarTransacciones(const QString& sentencia, DialectoSql dialecto);
};

} // namespace rm640
