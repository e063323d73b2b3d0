#include "marcadores/Marcadores.h"

#include <QSet>
#include <QVarLengthArray>

namespace rm640 {

namespace {

bool esLetraAscii(char16_t u)
{
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// Case is ignored by comparing simply case-folded text. A surrogate pair is
// one character, so each half folds as part of its pair; simple folding never
// moves a character in or out of the BMP, so folded text keeps every position.
char16_t plegada(QStringView t, qsizetype i)
{
    const char16_t u = t[i].unicode();
    if (u < 0x80)
        return (u >= u'A' && u <= u'Z') ? char16_t(u + (u'a' - u'A')) : u;
    if (QChar::isHighSurrogate(u)) {
        if (i + 1 < t.size() && QChar::isLowSurrogate(t[i + 1].unicode()))
            return QChar::highSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(u, t[i + 1].unicode())));
        return u;
    }
    if (QChar::isLowSurrogate(u)) {
        if (i > 0 && QChar::isHighSurrogate(t[i - 1].unicode()))
            return QChar::lowSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(t[i - 1].unicode(), u)));
        return u;
    }
    return char16_t(QChar::toCaseFolded(char32_t(u)));
}

// Knuth-Morris-Pratt, so that a search never backs up in the text whatever
// the token looks like. While nothing is matched it jumps to the next
// candidate for the token's first character with Qt's (vectorised) search.
class Buscador
{
public:
    Buscador(QStringView marcador, bool ignorarMayusculas)
        : m_ignorar(ignorarMayusculas)
    {
        const qsizetype m = marcador.size();
        m_patron.resize(m);
        for (qsizetype i = 0; i < m; ++i)
            m_patron[i] = m_ignorar ? plegada(marcador, i) : marcador[i].unicode();

        m_fallo.resize(m);
        m_fallo[0] = 0;
        for (qsizetype q = 1, k = 0; q < m; ++q) {
            while (k > 0 && m_patron[q] != m_patron[k])
                k = m_fallo[k - 1];
            if (m_patron[q] == m_patron[k])
                ++k;
            m_fallo[q] = k;
        }

        // Nothing outside ASCII folds onto an ASCII character other than a
        // letter, so for '{' and the like the exact search is also the folded one.
        const char16_t primero = m_patron[0];
        m_saltoExacto = !m_ignorar || (primero < 0x80 && !esLetraAscii(primero));
        m_saltoPlegado = !m_saltoExacto && !QChar::isSurrogate(primero);
    }

    qsizetype longitud() const { return m_patron.size(); }

    // Start of the first occurrence at or after desde, or -1.
    qsizetype Siguiente(QStringView t, qsizetype desde) const
    {
        const qsizetype m = m_patron.size();
        const qsizetype n = t.size();
        qsizetype i = desde;
        qsizetype k = 0;
        while (n - i >= m - k) {
            if (k == 0) {
                if (m_saltoExacto)
                    i = t.indexOf(QChar(m_patron[0]), i);
                else if (m_saltoPlegado)
                    i = t.indexOf(QChar(m_patron[0]), i, Qt::CaseInsensitive);
                if (i < 0 || n - i < m)
                    return -1;
            }
            const char16_t c = m_ignorar ? plegada(t, i) : t[i].unicode();
            while (k > 0 && c != m_patron[k])
                k = m_fallo[k - 1];
            if (c == m_patron[k])
                ++k;
            ++i;
            if (k == m)
                return i - m;
        }
        return -1;
    }

private:
    bool m_ignorar;
    bool m_saltoExacto = false;
    bool m_saltoPlegado = false;
    QVarLengthArray<char16_t, 64> m_patron;
    QVarLengthArray<qsizetype, 64> m_fallo;
};

QString entreLlaves(const QString& nombre)
{
    QString token;
    token.reserve(nombre.size() + 2);
    token.append(u'{').append(nombre).append(u'}');
    return token;
}

} // namespace

QString Marcadores::SustituirMarcador(const QString& texto, const QString& marcador, const QString& valor,
                                      bool ignorarMayusculas)
{
    const std::vector<qsizetype> posiciones = Posiciones(texto, marcador, ignorarMayusculas);
    if (posiciones.empty())
        return texto;
    const qsizetype m = marcador.size();

    // Each pass sees what the earlier ones inserted, so values that carry
    // tokens can double the text pass after pass; past the limit it fails.
    const qint64 longitud = qint64(texto.size()) + qint64(posiciones.size()) * (qint64(valor.size()) - m);
    if (longitud > LongitudMaxima)
        throw orvinda::ErrorRm(QStringLiteral("El texto expandido excede %1 caracteres").arg(LongitudMaxima));

    const QStringView origen(texto);
    QString resultado;
    resultado.reserve(qsizetype(longitud));
    qsizetype desde = 0;
    for (const qsizetype p : posiciones) {
        resultado.append(origen.sliced(desde, p - desde));
        resultado.append(valor);
        desde = p + m;
    }
    resultado.append(origen.sliced(desde));
    return resultado;
}

std::vector<qsizetype> Marcadores::Posiciones(QStringView texto, const QString& marcador, bool ignorarMayusculas)
{
    std::vector<qsizetype> posiciones;
    if (marcador.isEmpty() || texto.size() < marcador.size())
        return posiciones;
    const Buscador buscador(marcador, ignorarMayusculas);
    const qsizetype m = buscador.longitud();
    for (qsizetype p = buscador.Siguiente(texto, 0); p >= 0; p = buscador.Siguiente(texto, p + m))
        posiciones.push_back(p);
    return posiciones;
}

QString Marcadores::ExpandirConsulta(const QString& consulta, const QString& folio)
{
    return SustituirMarcador(consulta, QStringLiteral("{FOLIO}"), folio, false);
}

QString Marcadores::ExpandirPlantilla(const QString& plantilla,
                                      const std::optional<QList<ColumnaPlantilla>>& primeraFila)
{
    if (!primeraFila)
        return plantilla;
    QString html = plantilla;
    for (const ColumnaPlantilla& columna : *primeraFila) {
        if (!columna.valor)
            throw orvinda::ErrorRm::UsoNoValidoDeNull();
        html = SustituirMarcador(html, entreLlaves(columna.nombre.toUpper()), *columna.valor, true);
    }
    return html;
}

QList<CampoAutorizar> Marcadores::LeerListaCampos(const QString& lista)
{
    QList<CampoAutorizar> campos;
    if (lista.isEmpty())
        return campos;
    const QList<QStringView> items = QStringView(lista).split(u',');
    campos.reserve(items.size());
    for (const QStringView item : items) {
        if (item.startsWith(u'*'))
            campos.append({item.toString().remove(u'*'), true});
        else
            campos.append({item.toString(), false});
    }
    return campos;
}

ExpansionAutorizacion Marcadores::ExpandirAutorizacion(const QString& sentencia, const QString& listaCampos,
                                                       const QStringList& columnas, const LectorValor& leerValor,
                                                       const GanchoComentario& guardarComentario, const QString& folio,
                                                       const QString& operador, const QString& fecha)
{
    // Only whether some column matches counts; the value comes from the page.
    QSet<QString> nombres;
    nombres.reserve(columnas.size());
    for (const QString& columna : columnas)
        nombres.insert(columna.toUpper());

    QString texto = sentencia;
    for (const CampoAutorizar& campo : LeerListaCampos(listaCampos)) {
        if (!nombres.contains(campo.nombre))
            continue;
        QString valor = leerValor(campo.nombre);
        if (campo.nombre == CampoComentarioDocumento && !valor.isEmpty() && guardarComentario)
            guardarComentario(valor);
        if (valor.isEmpty() && campo.obligatorio)
            return {QString(), campo.nombre};
        texto = SustituirMarcador(texto, entreLlaves(campo.nombre), valor, false);
    }
    return {ExpandirRechazo(texto, folio, operador, fecha), std::nullopt};
}

QString Marcadores::ExpandirRechazo(const QString& sentencia, const QString& folio, const QString& operador,
                                    const QString& fecha)
{
    QString texto = SustituirMarcador(sentencia, QStringLiteral("{FOLIO}"), folio, false);
    texto = SustituirMarcador(texto, QStringLiteral("{OPERADOR}"), operador, false);
    return SustituirMarcador(texto, QStringLiteral("{FECHA}"), fecha, false);
}

} // namespace rm640
