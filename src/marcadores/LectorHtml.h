#pragma once

#include <QLatin1StringView>
#include <QStringView>

namespace rm640 {

// The browser's tokenizer, as far as it decides where text, tags, attribute
// values and comments are: fed a page from its start, it knows where the
// next character stands. Character references are left out (they only ever
// make text), and so is foreign content (svg, math), read as HTML.
class LectorHtml
{
public:
    // Where the next character stands, as far as a value put there is concerned.
    enum class Lugar {
        Texto, // element text, or the text of <textarea> or <title>
        ValorCitado,
        ValorSuelto,
        AntesDeValor, // right after "=": an unquoted value would start here
        Comentario, // or a doctype, or anything "<!" or "<?" starts
        Contenido, // the content of <script>, <style> and the like
        CierreDeContenido, // what may yet become "</textarea" or "</title"
        Etiqueta, // a tag's name, an attribute's name, or between them
    };

    // How an element's content is read until its own end tag.
    enum class Contenido : quint8 {
        Ninguno,
        Texto, // textarea, title: text, character references included
        Crudo, // style, xmp, iframe, noembed, noframes: only the end tag counts
        Script, // as Crudo, but "<!--" and a nested "<script" can hide the end tag
        Plano, // plaintext: never ends
    };

    static bool EsEspacio(char16_t c);

    // Reads t from i up to (not including) fin, where the last call stopped.
    void Leer(QStringView t, qsizetype i, qsizetype fin);
    Lugar Donde() const;
    // The element whose content is being read.
    QLatin1StringView Elemento() const { return m_especial; }
    // Instead of reading a value written where the reader stands: what the
    // escaping lets through leaves it there, except that a value at an
    // unquoted value's start starts it.
    void TrasValor(bool vacio);

    // Two readers that read on alike: what either reads next, both read the same way.
    friend bool operator==(const LectorHtml&, const LectorHtml&) = default;

private:
    enum class Estado : quint8 {
        Dato,
        Menor,
        CierreAbre,
        NombreEtiqueta,
        AntesAtributo,
        NombreAtributo,
        TrasAtributo,
        AntesValor,
        ValorDoble,
        ValorSimple,
        ValorSuelto,
        TrasValorCitado,
        AutoCierre,
        Declaracion,
        DeclaracionGuion,
        Bogus,
        ComentarioInicio,
        ComentarioInicioGuion,
        Comentario,
        ComentarioBang,
        Contenido,
        ContenidoMenor,
        ContenidoBang,
        ContenidoBangGuion,
        ContenidoNombre,
    };
    enum class Escape : quint8 { Ninguno, Simple, Doble };
    // What the letters after "<" or "</" inside content may spell: the end
    // tag, or (in a script) the start or end of a nested "<script".
    enum class Busca : quint8 { Cierre, DobleInicio, DobleFin };

    static constexpr int LargoNombre = 9; // the longest special name, "plaintext"

    void Etiqueta(bool cierre);
    void Anotar(char16_t c);
    void Emitir();
    void Buscar(Busca busca);
    void Coincidir(char16_t c);

    Estado m_estado = Estado::Dato;
    bool m_esCierre = false;
    char16_t m_nombre[LargoNombre] = {};
    int m_largo = 0; // -1: longer than any special name
    Contenido m_contenido = Contenido::Ninguno;
    QLatin1StringView m_especial;
    Escape m_escape = Escape::Ninguno;
    Busca m_busca = Busca::Cierre;
    qsizetype m_coincide = 0; // -1: it spells something else
    qsizetype m_guiones = 0; // '-' read in a row
};

} // namespace rm640
