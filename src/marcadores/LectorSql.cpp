#include "marcadores/LectorSql.h"

namespace rm640 {

namespace {

bool EsNuevaLinea(QChar c)
{
    return c == u'\n' || c == u'\r';
}

} // namespace

LectorSql::LectorSql(QStringView texto, DialectoSql dialecto)
    : m_t(texto)
    , m_dialecto(dialecto)
{
}

bool LectorSql::EsDeNombre(QChar c)
{
    return c.unicode() > 127 || c.isLetterOrNumber() || c == u'_' || c == u'$';
}

void LectorSql::Avanzar(qsizetype hasta)
{
    while (m_i < hasta)
        Paso(hasta);
}

void LectorSql::Paso(qsizetype limite)
{
    const QChar c = m_t[m_i];
    const QChar s = En(m_i + 1);
    switch (m_lugar) {
    case Lugar::Suelto: Suelto(); return;
    case Lugar::Simple: Cerrar(u'\'', true); return;
    case Lugar::Doble: Cerrar(u'"', true); return;
    // SQLite has no way to write ']' inside brackets.
    case Lugar::Corchete: Cerrar(u']', m_dialecto == DialectoSql::SqlServer); return;
    case Lugar::Acento: Cerrar(u'`', true); return;
    case Lugar::Escapes:
        if (c == u'\\' || (c == u'\'' && s == u'\''))
            m_i += 2;
        else if (c == u'\'')
            CerrarEscapes(limite);
        else
            ++m_i;
        return;
    case Lugar::Dolar:
        if (m_t.sliced(m_i).startsWith(m_delimitador)) {
            m_i += m_delimitador.size();
            m_lugar = Lugar::Suelto;
        } else {
            ++m_i;
        }
        return;
    case Lugar::Linea:
        if (EsNuevaLinea(c))
            m_lugar = Lugar::Suelto;
        ++m_i;
        return;
    case Lugar::Bloque:
        if (c == u'*' && s == u'/') {
            m_i += 2;
            if (--m_nivel == 0)
                m_lugar = Lugar::Suelto;
        } else if (c == u'/' && s == u'*' && AnidaComentarios()) {
            m_i += 2;
            ++m_nivel;
        } else {
            ++m_i;
        }
        return;
    case Lugar::Union:
        m_lugar = Lugar::Suelto;
        Suelto();
        return;
    }
}

void LectorSql::Suelto()
{
    const QChar c = m_t[m_i];
    const QChar s = En(m_i + 1);
    // E'...' and $$ only where a name does not go on: x$$ and typE'..' are
    // a name and a name followed by a plain literal. A number is no name.
    qsizetype inicio = m_i;
    while (inicio > 0 && EsDeNombre(m_t[inicio - 1]))
        --inicio;
    const bool enNombre = inicio < m_i && !m_t[inicio].isDigit();
    const bool postgres = m_dialecto == DialectoSql::PostgreSQL && !enNombre;

    Lugar nuevo = Lugar::Suelto;
    qsizetype largo = 1;
    if (c == u'\'') {
        nuevo = Lugar::Simple;
        m_unicode = m_dialecto == DialectoSql::PostgreSQL && m_i >= 2 && m_t[m_i - 1] == u'&'
            && (m_t[m_i - 2] == u'U' || m_t[m_i - 2] == u'u') && (m_i == 2 || !EsDeNombre(m_t[m_i - 3]));
    } else if (c == u'"') {
        nuevo = Lugar::Doble;
    } else if (c == u'-' && s == u'-') {
        nuevo = Lugar::Linea, largo = 2;
    } else if (c == u'/' && s == u'*') {
        nuevo = Lugar::Bloque, largo = 2;
        m_nivel = 1;
    } else if (postgres && (c == u'e' || c == u'E') && s == u'\'') {
        nuevo = Lugar::Escapes, largo = 2;
    } else if (postgres && c == u'$') {
        // $$ or $tag$; $1 is a parameter.
        qsizetype j = m_i + 1;
        if (j < m_t.size() && !m_t[j].isDigit())
            while (j < m_t.size() && m_t[j] != u'$' && EsDeNombre(m_t[j]))
                ++j;
        if (En(j) == u'$') {
            largo = j + 1 - m_i;
            m_delimitador = m_t.sliced(m_i, largo);
            nuevo = Lugar::Dolar;
        }
    } else if (c == u'[' && (m_dialecto == DialectoSql::SqlServer || m_dialecto == DialectoSql::SQLite)) {
        nuevo = Lugar::Corchete;
    } else if (c == u'`' && m_dialecto == DialectoSql::SQLite) {
        nuevo = Lugar::Acento;
    }
    m_lugar = nuevo;
    m_i += largo;
}

void LectorSql::Cerrar(QChar cierre, bool doblada)
{
    if (m_t[m_i] == cierre) {
        if (doblada && En(m_i + 1) == cierre) {
            m_i += 2;
            return;
        }
        m_lugar = Lugar::Suelto;
    }
    ++m_i;
}

void LectorSql::CerrarEscapes(qsizetype limite)
{
    // PostgreSQL joins the next literal to this one, escapes and all, when
    // only blanks holding a newline (and, after it, line comments) stand
    // between them.
    bool salto = false;
    for (qsizetype j = m_i + 1; j < m_t.size();) {
        if (j >= limite) {
            m_lugar = Lugar::Union;
            m_i = limite;
            return;
        }
        const QChar c = m_t[j];
        if (EsNuevaLinea(c)) {
            salto = true;
            ++j;
        } else if (c == u' ' || c == u'\t' || c == u'\f' || (salto && c == u'\v')) {
            ++j;
        } else if (salto && c == u'-' && En(j + 1) == u'-') {
            while (j < m_t.size() && j < limite && !EsNuevaLinea(m_t[j]))
                ++j;
        } else if (salto && c == u'\'') {
            m_i = j + 1;
            return;
        } else {
            break;
        }
    }
    m_lugar = Lugar::Suelto;
    ++m_i;
}

} // namespace rm640
