#include "marcadores/LectorHtml.h"

namespace rm640 {

namespace {

bool EsLetra(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

char16_t Minuscula(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

struct Especial
{
    QLatin1StringView nombre;
    LectorHtml::Contenido contenido;
};

// The page's script is off, so <noscript> reads as ordinary markup.
constexpr Especial Especiales[] = {
    {QLatin1StringView("textarea"), LectorHtml::Contenido::Texto},
    {QLatin1StringView("title"), LectorHtml::Contenido::Texto},
    {QLatin1StringView("style"), LectorHtml::Contenido::Crudo},
    {QLatin1StringView("xmp"), LectorHtml::Contenido::Crudo},
    {QLatin1StringView("iframe"), LectorHtml::Contenido::Crudo},
    {QLatin1StringView("noembed"), LectorHtml::Contenido::Crudo},
    {QLatin1StringView("noframes"), LectorHtml::Contenido::Crudo},
    {QLatin1StringView("script"), LectorHtml::Contenido::Script},
    {QLatin1StringView("plaintext"), LectorHtml::Contenido::Plano},
};

} // namespace

bool LectorHtml::EsEspacio(char16_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r' || c == u' ';
}

void LectorHtml::Leer(QStringView t, qsizetype i, qsizetype fin)
{
    const QStringView v = t.first(fin);
    while (i < fin) {
        const char16_t c = v[i].unicode();
        switch (m_estado) {
        case Estado::Dato: {
            const qsizetype menor = v.indexOf(u'<', i);
            if (menor < 0)
                return;
            m_estado = Estado::Menor;
            i = menor + 1;
            continue;
        }
        case Estado::Menor:
            if (c == u'!')
                m_estado = Estado::Declaracion;
            else if (c == u'/')
                m_estado = Estado::CierreAbre;
            else if (EsLetra(c)) {
                Etiqueta(false);
                continue;
            } else {
                m_estado = c == u'?' ? Estado::Bogus : Estado::Dato;
                continue;
            }
            break;
        case Estado::CierreAbre:
            if (EsLetra(c)) {
                Etiqueta(true);
                continue;
            }
            if (c != u'>') {
                m_estado = Estado::Bogus;
                continue;
            }
            m_estado = Estado::Dato;
            break;
        case Estado::NombreEtiqueta:
            if (EsEspacio(c))
                m_estado = Estado::AntesAtributo;
            else if (c == u'/')
                m_estado = Estado::AutoCierre;
            else if (c == u'>')
                Emitir();
            else
                Anotar(c);
            break;
        case Estado::AntesAtributo:
            if (EsEspacio(c))
                break;
            if (c == u'/' || c == u'>') {
                m_estado = Estado::TrasAtributo;
                continue;
            }
            m_estado = Estado::NombreAtributo;
            if (c == u'=') // a name that starts with '='
                break;
            continue;
        case Estado::NombreAtributo:
            if (EsEspacio(c) || c == u'/' || c == u'>') {
                m_estado = Estado::TrasAtributo;
                continue;
            }
            if (c == u'=')
                m_estado = Estado::AntesValor;
            break;
        case Estado::TrasAtributo:
            if (EsEspacio(c))
                break;
            if (c == u'/')
                m_estado = Estado::AutoCierre;
            else if (c == u'=')
                m_estado = Estado::AntesValor;
            else if (c == u'>')
                Emitir();
            else {
                m_estado = Estado::NombreAtributo;
                continue;
            }
            break;
        case Estado::AntesValor:
            if (EsEspacio(c))
                break;
            if (c == u'"')
                m_estado = Estado::ValorDoble;
            else if (c == u'\'')
                m_estado = Estado::ValorSimple;
            else if (c == u'>')
                Emitir();
            else {
                m_estado = Estado::ValorSuelto;
                continue;
            }
            break;
        case Estado::ValorDoble:
        case Estado::ValorSimple: {
            const qsizetype cierre = v.indexOf(m_estado == Estado::ValorDoble ? u'"' : u'\'', i);
            if (cierre < 0)
                return;
            m_estado = Estado::TrasValorCitado;
            i = cierre + 1;
            continue;
        }
        case Estado::ValorSuelto:
            if (EsEspacio(c))
                m_estado = Estado::AntesAtributo;
            else if (c == u'>')
                Emitir();
            break;
        case Estado::TrasValorCitado:
        case Estado::AutoCierre:
            if (c == u'>')
                Emitir();
            else if (m_estado == Estado::TrasValorCitado && c == u'/')
                m_estado = Estado::AutoCierre;
            else {
                m_estado = Estado::AntesAtributo;
                if (!EsEspacio(c))
                    continue;
            }
            break;
        case Estado::Declaracion: // "<!": "<!--" opens a comment, anything else is bogus
        case Estado::DeclaracionGuion:
            if (c == u'-') {
                m_estado = m_estado == Estado::Declaracion ? Estado::DeclaracionGuion : Estado::ComentarioInicio;
                break;
            }
            m_estado = Estado::Bogus;
            continue;
        case Estado::Bogus: {
            const qsizetype mayor = v.indexOf(u'>', i);
            if (mayor < 0)
                return;
            m_estado = Estado::Dato;
            i = mayor + 1;
            continue;
        }
        case Estado::ComentarioInicio: // "<!-->" and "<!--->" close at once
            if (c == u'-') {
                m_estado = Estado::ComentarioInicioGuion;
                break;
            }
            if (c == u'>') {
                m_estado = Estado::Dato;
                break;
            }
            m_estado = Estado::Comentario;
            m_guiones = 0;
            continue;
        case Estado::ComentarioInicioGuion:
            m_estado = c == u'>' ? Estado::Dato : Estado::Comentario;
            m_guiones = c == u'-' ? 2 : 0;
            if (c == u'-' || c == u'>')
                break;
            continue;
        case Estado::Comentario:
            if (c == u'-')
                ++m_guiones;
            else if (m_guiones >= 2 && c == u'>')
                m_estado = Estado::Dato;
            else if (m_guiones >= 2 && c == u'!')
                m_estado = Estado::ComentarioBang;
            else {
                m_guiones = 0;
                const qsizetype guion = v.indexOf(u'-', i + 1);
                if (guion < 0)
                    return;
                i = guion;
                continue;
            }
            break;
        case Estado::ComentarioBang: // "--!" closes with '>'
            if (c == u'>') {
                m_estado = Estado::Dato;
                break;
            }
            m_estado = Estado::Comentario;
            m_guiones = c == u'-' ? 1 : 0;
            if (c == u'-')
                break;
            continue;
        case Estado::Contenido:
            if (m_contenido == Contenido::Plano)
                return;
            if (m_escape == Escape::Ninguno) {
                const qsizetype menor = v.indexOf(u'<', i);
                if (menor < 0)
                    return;
                m_estado = Estado::ContenidoMenor;
                i = menor + 1;
                continue;
            }
            // A script's "<!--": "-->" ends it, "</script" may close.
            if (c == u'-')
                ++m_guiones;
            else if (c == u'>' && m_guiones >= 2)
                m_escape = Escape::Ninguno;
            if (c != u'-')
                m_guiones = 0;
            if (c == u'<')
                m_estado = Estado::ContenidoMenor;
            break;
        case Estado::ContenidoMenor:
            if (c == u'/') {
                Buscar(m_escape == Escape::Doble ? Busca::DobleFin : Busca::Cierre);
                break;
            }
            if (m_contenido == Contenido::Script && m_escape == Escape::Ninguno && c == u'!') {
                m_estado = Estado::ContenidoBang;
                break;
            }
            if (m_contenido == Contenido::Script && m_escape == Escape::Simple && EsLetra(c)) {
                Buscar(Busca::DobleInicio);
                continue;
            }
            m_estado = Estado::Contenido;
            continue;
        case Estado::ContenidoBang: // "<!" in a script; "<!--" escapes it
        case Estado::ContenidoBangGuion:
            if (c == u'-' && m_estado == Estado::ContenidoBang) {
                m_estado = Estado::ContenidoBangGuion;
                break;
            }
            if (c == u'-') {
                m_estado = Estado::Contenido;
                m_escape = Escape::Simple;
                m_guiones = 2;
                break;
            }
            m_estado = Estado::Contenido;
            continue;
        case Estado::ContenidoNombre:
            if (EsLetra(c)) {
                Coincidir(c);
                break;
            }
            if (EsEspacio(c) || c == u'/' || c == u'>') {
                const bool completo = m_coincide == m_especial.size();
                if (m_busca == Busca::Cierre && completo) {
                    // Its end tag: read on as a tag, which switches nothing.
                    m_estado = Estado::NombreEtiqueta;
                    m_esCierre = true;
                    m_contenido = Contenido::Ninguno;
                    continue;
                }
                if (m_busca != Busca::Cierre) {
                    if (completo)
                        m_escape = m_busca == Busca::DobleInicio ? Escape::Doble : Escape::Simple;
                    m_estado = Estado::Contenido;
                    break;
                }
            }
            m_estado = Estado::Contenido;
            continue;
        }
        ++i;
    }
}

LectorHtml::Lugar LectorHtml::Donde() const
{
    switch (m_estado) {
    case Estado::Dato: return Lugar::Texto;
    case Estado::ValorDoble:
    case Estado::ValorSimple: return Lugar::ValorCitado;
    case Estado::ValorSuelto: return Lugar::ValorSuelto;
    case Estado::AntesValor: return Lugar::AntesDeValor;
    case Estado::Declaracion:
    case Estado::DeclaracionGuion:
    case Estado::Bogus:
    case Estado::ComentarioInicio:
    case Estado::ComentarioInicioGuion:
    case Estado::Comentario:
    case Estado::ComentarioBang: return Lugar::Comentario;
    case Estado::Contenido:
    case Estado::ContenidoMenor:
    case Estado::ContenidoBang:
    case Estado::ContenidoBangGuion:
    case Estado::ContenidoNombre:
        if (m_contenido != Contenido::Texto)
            return Lugar::Contenido;
        return m_estado == Estado::Contenido ? Lugar::Texto : Lugar::CierreDeContenido;
    default: return Lugar::Etiqueta;
    }
}

void LectorHtml::TrasValor(bool vacio)
{
    if (m_estado == Estado::AntesValor && !vacio)
        m_estado = Estado::ValorSuelto;
}

void LectorHtml::Etiqueta(bool cierre)
{
    m_estado = Estado::NombreEtiqueta;
    m_esCierre = cierre;
    m_largo = 0;
}

void LectorHtml::Anotar(char16_t c)
{
    if (m_largo >= 0 && m_largo < LargoNombre)
        m_nombre[m_largo++] = Minuscula(c);
    else
        m_largo = -1;
}

// The end of a start tag: the content of some elements is read apart.
void LectorHtml::Emitir()
{
    m_estado = Estado::Dato;
    if (m_esCierre || m_largo <= 0)
        return;
    const QStringView nombre(m_nombre, m_largo);
    for (const Especial& e : Especiales) {
        if (nombre == e.nombre) {
            m_estado = Estado::Contenido;
            m_contenido = e.contenido;
            m_especial = e.nombre;
            m_escape = Escape::Ninguno;
            m_guiones = 0;
            return;
        }
    }
}

void LectorHtml::Buscar(Busca busca)
{
    m_estado = Estado::ContenidoNombre;
    m_busca = busca;
    m_coincide = 0;
}

void LectorHtml::Coincidir(char16_t c)
{
    if (m_coincide >= 0 && m_coincide < m_especial.size() && Minuscula(c) == m_especial[m_coincide].unicode())
        ++m_coincide;
    else
        m_coincide = -1;
}

} // namespace rm640
