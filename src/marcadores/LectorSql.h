#pragma once

#include <QString>
#include <QStringView>

namespace rm640 {

// The server a statement is written for: each reads its literals,
// identifiers and comments in its own way.
enum class DialectoSql { Comun, SQLite, PostgreSQL, SqlServer };

// Walks a statement the way its server reads it: literals with their doubled
// quotes, quoted identifiers, line comments and block comments; on
// PostgreSQL also E'...' with its backslash escapes and dollar quotes, on SQL
// Server and SQLite bracketed identifiers.
class LectorSql
{
public:
    enum class Lugar {
        Suelto,
        Simple, // '...'
        Escapes, // E'...': a backslash takes the next character
        Dolar, // $$...$$ or $tag$...$tag$
        Doble, // "..."
        Corchete, // [...]
        Acento, // `...`
        Linea, // -- up to the end of the line
        Bloque, // /* ... */
        // Between an E'...' literal and a part the server may still join to
        // it: what goes there decides whether it does.
        Union,
    };

    LectorSql(QStringView texto, DialectoSql dialecto);

    // Reads up to (not including) hasta. An escape whose backslash stands
    // just before hasta leaves the position past it.
    void Avanzar(qsizetype hasta);
    // Reads one character, or the few the server reads as one.
    void Siguiente() { Paso(m_t.size()); }
    // Goes on from p without reading what lies between.
    void Saltar(qsizetype p) { m_i = p; }

    qsizetype Posicion() const { return m_i; }
    Lugar Donde() const { return m_lugar; }
    // Whether the '...' being read is PostgreSQL's U&'...', where a backslash
    // (or the character its UESCAPE names) starts a code point.
    bool Unicode() const { return m_lugar == Lugar::Simple && m_unicode; }
    // The text that closes the dollar quote being read.
    QStringView Delimitador() const { return m_delimitador; }
    // Whether a block comment inside another one opens a second level.
    bool AnidaComentarios() const
    {
        return m_dialecto == DialectoSql::PostgreSQL || m_dialecto == DialectoSql::SqlServer;
    }

    // A letter, digit, '_', '$' or any non-ASCII character: part of a name.
    static bool EsDeNombre(QChar c);

private:
    QChar En(qsizetype j) const { return j < m_t.size() ? m_t[j] : QChar(); }
    // limite: how far a look ahead may read before it must stop and say so.
    void Paso(qsizetype limite);
    void Suelto();
    void Cerrar(QChar cierre, bool doblada);
    void CerrarEscapes(qsizetype limite);

    QStringView m_t;
    DialectoSql m_dialecto;
    qsizetype m_i = 0;
    Lugar m_lugar = Lugar::Suelto;
    QStringView m_delimitador;
    int m_nivel = 0;
    bool m_unicode = false;
};

} // namespace rm640
