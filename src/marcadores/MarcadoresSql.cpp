#include "marcadores/MarcadoresSql.h"

#include <QRegularExpression>
#include <QSet>

namespace rm640 {

namespace {

enum class Lugar { Suelto, Simple, Doble, Linea, Bloque };

// Walks a statement the way the server reads it: literals with their doubled
// quotes, line comments and block comments.
class Lector
{
public:
    explicit Lector(QStringView texto)
        : t(texto)
    {
    }

    // Reads from i up to (not including) hasta.
    void Avanzar(qsizetype& i, qsizetype hasta)
    {
        while (i < hasta) {
            const QChar c = t[i];
            const QChar s = i + 1 < t.size() ? t[i + 1] : QChar();
            switch (lugar) {
            case Lugar::Suelto:
                if (c == u'\'')
                    lugar = Lugar::Simple;
                else if (c == u'"')
                    lugar = Lugar::Doble;
                else if (c == u'-' && s == u'-')
                    lugar = Lugar::Linea, ++i;
                else if (c == u'/' && s == u'*')
                    lugar = Lugar::Bloque, ++i;
                break;
            case Lugar::Simple:
            case Lugar::Doble:
                if (c == (lugar == Lugar::Simple ? u'\'' : u'"')) {
                    if (s == c)
                        ++i;
                    else
                        lugar = Lugar::Suelto;
                }
                break;
            case Lugar::Linea:
                if (c == u'\n' || c == u'\r')
                    lugar = Lugar::Suelto;
                break;
            case Lugar::Bloque:
                if (c == u'*' && s == u'/')
                    lugar = Lugar::Suelto, ++i;
                break;
            }
            ++i;
        }
    }

    Lugar lugar = Lugar::Suelto;

private:
    QStringView t;
};

bool EsNumero(const QString& valor)
{
    static const QRegularExpression numero(
        QStringLiteral("^[+-]?(?:[0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?$"));
    return numero.match(valor).hasMatch();
}

QString Doblar(const QString& valor, QChar comilla)
{
    QString r = valor;
    return r.replace(comilla, QString(2, comilla));
}

QString Citado(const QString& valor, Lugar lugar, QChar previo, bool hayBloques, const QString& campo)
{
    // Servers that nest block comments would read these differently.
    if (hayBloques && (valor.contains(QLatin1String("/*")) || valor.contains(QLatin1String("*/"))))
        throw ValorNoAdmitido(campo,
                              QStringLiteral("la sentencia tiene comentarios /* */ y el valor contiene '/*' o '*/'"));
    switch (lugar) {
    case Lugar::Simple: return Doblar(valor, u'\'');
    case Lugar::Doble: return Doblar(valor, u'"');
    case Lugar::Linea:
        if (valor.contains(u'\n') || valor.contains(u'\r'))
            throw ValorNoAdmitido(campo, QStringLiteral("dentro de un comentario no admite saltos de línea"));
        return valor;
    case Lugar::Bloque:
        if (valor.contains(QLatin1String("*/")))
            throw ValorNoAdmitido(campo, QStringLiteral("dentro de un comentario no admite '*/'"));
        return valor;
    case Lugar::Suelto: break;
    }
    if (valor.isEmpty())
        return valor;
    if (!EsNumero(valor))
        throw ValorNoAdmitido(campo, QStringLiteral("fuera de comillas solo se admite un número"));
    // A sign after a minus would start a comment.
    if (previo == u'-' && (valor.startsWith(u'-')))
        throw ValorNoAdmitido(campo, QStringLiteral("un número negativo no puede seguir a '-'"));
    return valor;
}

QString EntreLlaves(const QString& nombre)
{
    return u'{' + nombre + u'}';
}

} // namespace

ValorNoAdmitido::ValorNoAdmitido(const QString& campo, const QString& motivo)
    : orvinda::ErrorRm(
        QStringLiteral("El valor del campo '%1' no se puede usar en la sentencia: %2.").arg(campo, motivo))
    , m_campo(campo)
{
}

ValorNoAdmitido::ValorNoAdmitido(const QString& campo, const QString& motivo, const QString& donde)
    : orvinda::ErrorRm(QStringLiteral("El valor del campo '%1' no se puede usar en %2: %3.").arg(campo, donde, motivo))
    , m_campo(campo)
{
}

QString MarcadoresSql::Clave(const QString& clave, Modo modo)
{
    return modo == Modo::Empalmar ? clave : Doblar(clave, u'\'');
}

QString MarcadoresSql::Sustituir(const QString& texto, const QString& marcador, const QString& valor,
                                 const QString& campo)
{
    if (marcador.isEmpty() || !texto.contains(marcador))
        return texto;
    const bool hayBloques = texto.contains(QLatin1String("/*"));
    Lector lector(texto);
    QString resultado;
    qsizetype leido = 0;
    for (qsizetype p = texto.indexOf(marcador); p >= 0; p = texto.indexOf(marcador, leido)) {
        qsizetype i = leido;
        lector.Avanzar(i, p);
        resultado.append(QStringView(texto).sliced(leido, p - leido));
        const QChar previo = resultado.isEmpty() ? QChar() : resultado.back();
        resultado.append(Citado(valor, lector.lugar, previo, hayBloques, campo));
        // The quoted value leaves the reader where the token left it.
        leido = p + marcador.size();
        if (resultado.size() > Marcadores::LongitudMaxima)
            throw orvinda::ErrorRm(
                QStringLiteral("El texto expandido excede %1 caracteres").arg(Marcadores::LongitudMaxima));
    }
    resultado.append(QStringView(texto).sliced(leido));
    return resultado;
}

QString MarcadoresSql::ExpandirConsulta(const QString& consulta, const QString& folio, Modo modo)
{
    if (modo == Modo::Empalmar)
        return Marcadores::ExpandirConsulta(consulta, folio);
    return Sustituir(consulta, QStringLiteral("{FOLIO}"), folio, QStringLiteral("FOLIO"));
}

ExpansionAutorizacion MarcadoresSql::ExpandirAutorizacion(const QString& sentencia, const QString& listaCampos,
                                                          const QStringList& columnas,
                                                          const Marcadores::LectorValor& leerValor,
                                                          const Marcadores::GanchoComentario& guardarComentario,
                                                          const QString& folio, const QString& operador,
                                                          const QString& fecha, Modo modo)
{
    if (modo == Modo::Empalmar)
        return Marcadores::ExpandirAutorizacion(sentencia, listaCampos, columnas, leerValor, guardarComentario, folio,
                                                operador, fecha);
    QSet<QString> nombres;
    for (const QString& columna : columnas)
        nombres.insert(columna.toUpper());

    QString texto = sentencia;
    for (const CampoAutorizar& campo : Marcadores::LeerListaCampos(listaCampos)) {
        if (!nombres.contains(campo.nombre))
            continue;
        QString valor = leerValor(campo.nombre);
        if (campo.nombre == Marcadores::CampoComentarioDocumento && !valor.isEmpty() && guardarComentario)
            guardarComentario(valor);
        if (valor.isEmpty() && campo.obligatorio)
            return {QString(), campo.nombre};
        texto = Sustituir(texto, EntreLlaves(campo.nombre), valor, campo.nombre);
    }
    return {ExpandirRechazo(texto, folio, operador, fecha, modo), std::nullopt};
}

QString MarcadoresSql::ExpandirRechazo(const QString& sentencia, const QString& folio, const QString& operador,
                                       const QString& fecha, Modo modo)
{
    if (modo == Modo::Empalmar)
        return Marcadores::ExpandirRechazo(sentencia, folio, operador, fecha);
    QString texto = Sustituir(sentencia, QStringLiteral("{FOLIO}"), folio, QStringLiteral("FOLIO"));
    texto = Sustituir(texto, QStringLiteral("{OPERADOR}"), operador, QStringLiteral("OPERADOR"));
    return Sustituir(texto, QStringLiteral("{FECHA}"), fecha, QStringLiteral("FECHA"));
}

} // namespace rm640
