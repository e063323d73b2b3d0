#include "marcadores/MarcadoresHtml.h"

#include "marcadores/LectorHtml.h"
#include "marcadores/MarcadoresSql.h"

#include <QByteArray>

#include <algorithm>
#include <vector>

namespace rm640 {

namespace {

using Lugar = LectorHtml::Lugar;

void AnexarEscapado(QString& r, QStringView valor, bool comillas)
{
    qsizetype desde = 0;
    for (qsizetype i = 0; i < valor.size(); ++i) {
        QLatin1StringView entidad;
        switch (valor[i].unicode()) {
        case u'&': entidad = QLatin1StringView("&amp;"); break;
        case u'<': entidad = QLatin1StringView("&lt;"); break;
        case u'>': entidad = QLatin1StringView("&gt;"); break;
        case u'"':
            if (comillas)
                entidad = QLatin1StringView("&quot;");
            break;
        case u'\'':
            if (comillas)
                entidad = QLatin1StringView("&#39;");
            break;
        default: break;
        }
        if (entidad.isEmpty())
            continue;
        r.append(valor.sliced(desde, i - desde)).append(entidad);
        desde = i + 1;
    }
    r.append(valor.sliced(desde));
}

qsizetype LargoEscapado(QStringView valor)
{
    qsizetype largo = valor.size();
    for (const QChar c : valor)
        largo += c == u'&' || c == u'\'' ? 4 : c == u'<' || c == u'>' ? 3 : c == u'"' ? 5 : 0;
    return largo;
}

bool EsSuelto(QStringView valor)
{
    return std::all_of(valor.begin(), valor.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'.'
            || u == u'-' || u == u'_';
    });
}

// One column's pass over the page, and the page as the passes leave it.
class Expansion
{
public:
    // Which characters an escaped value wrote is kept only when some column
    // is markup: only a markup token has to ask.
    Expansion(const QString& plantilla, bool conMarcado)
        : texto(plantilla)
        , m_marcas(conMarcado)
    {
        if (m_marcas)
            m_deValor = QByteArray(plantilla.size(), '\0');
    }

    void Sustituir(const ColumnaPlantilla& columna)
    {
        const QString& valor = *columna.valor;
        const QString marcador = u'{' + columna.nombre.toUpper() + u'}';
        const std::vector<qsizetype> posiciones = Marcadores::Posiciones(texto, marcador, true);
        if (posiciones.empty())
            return;
        const qsizetype m = marcador.size();
        const bool marcado = MarcadoresHtml::EsMarcado(columna.nombre);

        // The page is read as it is written, so a markup value inserted
        // earlier in this pass counts for the tokens after it. Where the
        // earlier passes left the reader is kept every few thousand
        // characters, so a pass reads only from the nearest such point.
        QString r;
        const qsizetype mayor = LargoEscapado(valor) - m; // no place writes more than a quoted value
        r.reserve(std::min(texto.size() + qsizetype(posiciones.size()) * std::max<qsizetype>(0, mayor),
                           qsizetype(Marcadores::LongitudMaxima)));
        QByteArray marcas;
        std::vector<Punto> puntos;
        LectorHtml lector;
        qsizetype leido = 0;
        qsizetype desde = 0;
        // The earlier points after a token still hold while the reader has
        // left every value where it would have left the token; they move by
        // delta. Once it has not, the rest of the pass reads for itself.
        size_t viejo = 0;
        qsizetype delta = 0;
        bool vigentes = true;
        const auto llevar = [&](qsizetype hasta) {
            for (; viejo < m_puntos.size() && m_puntos[viejo].pos <= hasta; ++viejo)
                if (vigentes && m_puntos[viejo].pos >= desde)
                    puntos.push_back({m_puntos[viejo].pos + delta, m_puntos[viejo].lector});
        };
        // An empty value takes its whole run of adjacent tokens with it.
        size_t finRacha = 0;
        QChar trasRacha;
        for (size_t k = 0; k < posiciones.size(); ++k) {
            const qsizetype p = posiciones[k];
            Copiar(r, marcas, desde, p);
            llevar(p);
            Leer(lector, leido, r, puntos);
            LectorHtml token = lector;
            const qsizetype inicio = r.size();
            if (marcado && !EscritoPorValor(p, m)) {
                Anexar(r, marcas, valor, false);
                lector.Leer(r, inicio, r.size());
            } else {
                if (valor.isEmpty() && k >= finRacha) {
                    qsizetype despues = p + m;
                    for (finRacha = k + 1; finRacha < posiciones.size() && posiciones[finRacha] == despues; ++finRacha)
                        despues += m;
                    trasRacha = despues < texto.size() ? texto[despues] : QChar();
                }
                const QString escrito = Escrito(lector, valor, trasRacha, columna.nombre);
                Anexar(r, marcas, escrito, true);
                // What an escaped value writes leaves the reader where it was.
                lector.TrasValor(escrito.isEmpty());
            }
            leido = r.size();
            if (vigentes) {
                token.Leer(texto, p, p + m);
                vigentes = token == lector;
            }
            delta += r.size() - inicio - m;
            desde = p + m;
        }
        Copiar(r, marcas, desde, texto.size());
        llevar(texto.size());
        texto = std::move(r);
        m_deValor = std::move(marcas);
        m_puntos = std::move(puntos);
    }

    QString texto;

private:
    struct Punto
    {
        qsizetype pos;
        LectorHtml lector; // as it stands before the character at pos
    };
    static constexpr qsizetype Intervalo = 4096;

    // Brings lector from leido (or a later point) to the end of r, leaving
    // a point every Intervalo characters.
    static void Leer(LectorHtml& lector, qsizetype& leido, QStringView r, std::vector<Punto>& puntos)
    {
        if (!puntos.empty() && puntos.back().pos > leido) {
            lector = puntos.back().lector;
            leido = puntos.back().pos;
        }
        while (leido < r.size()) {
            const qsizetype tramo = std::min(r.size(), leido + Intervalo);
            lector.Leer(r, leido, tramo);
            leido = tramo;
            if (tramo - (puntos.empty() ? 0 : puntos.back().pos) >= Intervalo)
                puntos.push_back({tramo, lector});
        }
    }

    bool EscritoPorValor(qsizetype p, qsizetype m) const
    {
        return m_marcas && QByteArrayView(m_deValor).sliced(p, m).contains('\1');
    }

    void Copiar(QString& r, QByteArray& marcas, qsizetype desde, qsizetype hasta) const
    {
        r.append(QStringView(texto).sliced(desde, hasta - desde));
        if (m_marcas)
            marcas.append(QByteArrayView(m_deValor).sliced(desde, hasta - desde));
        Limitar(r);
    }

    void Anexar(QString& r, QByteArray& marcas, const QString& escrito, bool deUnValor) const
    {
        r.append(escrito);
        if (m_marcas)
            marcas.append(escrito.size(), deUnValor ? '\1' : '\0');
        Limitar(r);
    }

    static void Limitar(const QString& r)
    {
        if (r.size() > Marcadores::LongitudMaxima)
            throw orvinda::ErrorRm(
                QStringLiteral("El texto expandido excede %1 caracteres").arg(Marcadores::LongitudMaxima));
    }

    static QString Escrito(const LectorHtml& lector, const QString& valor, QChar siguiente, const QString& campo)
    {
        const auto rehusar = [&campo](const QString& motivo) {
            return ValorNoAdmitido(campo, motivo, QStringLiteral("la plantilla"));
        };
        QString r;
        switch (lector.Donde()) {
        case Lugar::Texto: AnexarEscapado(r, valor, false); return r;
        case Lugar::ValorCitado: AnexarEscapado(r, valor, true); return r;
        case Lugar::AntesDeValor:
            // Empty right after "=", the value would be what follows it.
            if (valor.isEmpty()
                && (LectorHtml::EsEspacio(siguiente.unicode()) || siguiente == u'"' || siguiente == u'\''))
                throw rehusar(QStringLiteral("en un atributo sin comillas no puede quedar vacío"));
            [[fallthrough]];
        case Lugar::ValorSuelto:
            if (!EsSuelto(valor))
                throw rehusar(
                    QStringLiteral("en un atributo sin comillas solo se admiten letras, dígitos, '.', '-' y '_'"));
            return valor;
        case Lugar::Comentario: throw rehusar(QStringLiteral("dentro de un comentario no se admiten valores"));
        case Lugar::Contenido:
            throw rehusar(QStringLiteral("dentro de <%1> no se admiten valores").arg(lector.Elemento()));
        case Lugar::CierreDeContenido:
            throw rehusar(
                QStringLiteral("junto a la etiqueta de cierre de <%1> no se admiten valores").arg(lector.Elemento()));
        case Lugar::Etiqueta: break;
        }
        throw rehusar(QStringLiteral("dentro de una etiqueta solo se admite como valor de un atributo"));
    }

    bool m_marcas;
    QByteArray m_deValor;
    std::vector<Punto> m_puntos;
};

} // namespace

bool MarcadoresHtml::EsMarcado(const QString& columna)
{
    return columna.endsWith(SufijoMarcado, Qt::CaseInsensitive);
}

// The passes and the escaping: each pass reads the page as the earlier ones
// left it. An escaped value leaves the reader where its token stood, so the
// tokens after it keep their places; a token that a value carries is still
// replaced, escaped for where that value stands. A markup token, though, is
// markup only where no escaped value wrote any of its characters: built from
// a value, it is escaped like any other, so no value ever gets markup in.
QString MarcadoresHtml::ExpandirPlantilla(const QString& plantilla,
                                          const std::optional<QList<ColumnaPlantilla>>& primeraFila, Modo modo)
{
    if (modo == Modo::Empalmar || !primeraFila)
        return Marcadores::ExpandirPlantilla(plantilla, primeraFila);
    const bool conMarcado
        = std::any_of(primeraFila->begin(), primeraFila->end(), [](const auto& c) { return EsMarcado(c.nombre); });
    Expansion expansion(plantilla, conMarcado);
    for (const ColumnaPlantilla& columna : *primeraFila) {
        if (!columna.valor)
            throw orvinda::ErrorRm::UsoNoValidoDeNull();
        expansion.Sustituir(columna);
    }
    return expansion.texto;
}

} // namespace rm640
