#include "marcadores/MarcadoresSql.h"

#include <QRegularExpression>
#include <QSet>

namespace rm640 {

namespace {

using Lugar = LectorSql::Lugar;

// Where a token stands, and what surrounds it.
struct Sitio
{
    Lugar lugar;
    QStringView antes; // everything before the token, earlier values included
    QStringView despues; // the stored text after the token
    QStringView delimitador; // of the dollar quote around it
    DialectoSql dialecto;
    bool anida; // block comments nest
    bool escapado; // a backslash just before the token takes its first character
    bool unicode; // inside U&'...'
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

// Whether secuencia, which the text around the token does not hold, would
// appear once the value stands between antes and despues.
bool Atraviesa(QStringView antes, const QString& valor, QStringView despues, QStringView secuencia)
{
    const qsizetype k = secuencia.size() - 1;
    const QStringView previo = antes.sliced(qMax<qsizetype>(0, antes.size() - k));
    const QString junto = previo.toString() + valor + despues.first(qMin(k, despues.size())).toString();
    for (qsizetype p = junto.indexOf(secuencia); p >= 0; p = junto.indexOf(secuencia, p + 1))
        if (p < previo.size() + valor.size() && p + secuencia.size() > previo.size())
            return true;
    return false;
}

QString Citado(const QString& valor, const Sitio& s, bool hayBloques, const QString& campo)
{
    // Servers that nest block comments would read these differently.
    if (hayBloques && (valor.contains(QLatin1String("/*")) || valor.contains(QLatin1String("*/"))))
        throw ValorNoAdmitido(campo,
                              QStringLiteral("la sentencia tiene comentarios /* */ y el valor contiene '/*' o '*/'"));
    switch (s.lugar) {
    case Lugar::Simple:
        if (s.unicode && s.despues.contains(QLatin1String("UESCAPE"), Qt::CaseInsensitive) && !valor.isEmpty())
            throw ValorNoAdmitido(campo, QStringLiteral("dentro de U&'...' con UESCAPE no admite valores"));
        if (s.unicode && valor.contains(u'\\'))
            throw ValorNoAdmitido(campo, QStringLiteral("dentro de U&'...' no admite '\\'"));
        return Doblar(valor, u'\'');
    case Lugar::Doble: return Doblar(valor, u'"');
    case Lugar::Escapes:
        if (s.escapado)
            throw ValorNoAdmitido(campo, QStringLiteral("dentro de E'...' la marca no puede seguir a '\\'"));
        return Doblar(Doblar(valor, u'\\'), u'\'');
    case Lugar::Dolar:
        if (Atraviesa(s.antes, valor, s.despues, s.delimitador))
            throw ValorNoAdmitido(campo, QStringLiteral("dentro de %1...%1 no admite '%1'").arg(s.delimitador));
        return valor;
    case Lugar::Corchete:
        if (s.dialecto == DialectoSql::SqlServer)
            return Doblar(valor, u']');
        if (valor.contains(u']'))
            throw ValorNoAdmitido(campo, QStringLiteral("dentro de [...] no admite ']'"));
        return valor;
    case Lugar::Acento: return Doblar(valor, u'`');
    case Lugar::Linea:
        if (valor.contains(u'\n') || valor.contains(u'\r'))
            throw ValorNoAdmitido(campo, QStringLiteral("dentro de un comentario no admite saltos de línea"));
        return valor;
    case Lugar::Bloque:
        for (const QString& fin : {QStringLiteral("*/"), QStringLiteral("/*")})
            if ((s.anida || fin == QLatin1String("*/")) && Atraviesa(s.antes, valor, s.despues, fin))
                throw ValorNoAdmitido(campo, QStringLiteral("dentro de un comentario no admite '%1'").arg(fin));
        return valor;
    case Lugar::Union:
        throw ValorNoAdmitido(campo,
                              QStringLiteral("la marca sigue a un literal E'...' con solo espacios entre ambos"));
    case Lugar::Suelto: break;
    }
    if (valor.isEmpty())
        return valor;
    if (!EsNumero(valor))
        throw ValorNoAdmitido(campo, QStringLiteral("fuera de comillas solo se admite un número"));
    // A sign after a minus would start a comment.
    const QChar previo = s.antes.isEmpty() ? QChar() : s.antes.back();
    if (previo == u'-' && (valor.startsWith(u'-')))
        throw ValorNoAdmitido(campo, QStringLiteral("un número negativo no puede seguir a '-'"));
    return valor;
}

// A word of the statement: after a name character (or a variable's @ or #)
// a letter is no word's start.
bool EsDePalabra(QChar c)
{
    return LectorSql::EsDeNombre(c) || c == u'@' || c == u'#';
}

bool EmpiezaPalabra(QStringView texto, qsizetype i)
{
    const QChar c = texto[i];
    return (c.isLetter() || c == u'_' || c.unicode() > 127) && (i == 0 || !EsDePalabra(texto[i - 1]));
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
                                 const QString& campo, DialectoSql dialecto)
{
    if (marcador.isEmpty() || !texto.contains(marcador))
        return texto;
    const bool hayBloques = texto.contains(QLatin1String("/*"));
    LectorSql lector(texto, dialecto);
    QString resultado;
    qsizetype leido = 0;
    for (qsizetype p = texto.indexOf(marcador); p >= 0; p = texto.indexOf(marcador, leido)) {
        lector.Avanzar(p);
        resultado.append(QStringView(texto).sliced(leido, p - leido));
        leido = p + marcador.size();
        const Sitio sitio{lector.Donde(),        resultado,       QStringView(texto).sliced(leido),
                          lector.Delimitador(),  dialecto,        lector.AnidaComentarios(),
                          lector.Posicion() > p, lector.Unicode()};
        resultado.append(Citado(valor, sitio, hayBloques, campo));
        // The quoted value leaves the reader where the token left it.
        lector.Saltar(leido);
        if (resultado.size() > Marcadores::LongitudMaxima)
            throw orvinda::ErrorRm(
                QStringLiteral("El texto expandido excede %1 caracteres").arg(Marcadores::LongitudMaxima));
    }
    resultado.append(QStringView(texto).sliced(leido));
    return resultado;
}

QString MarcadoresSql::ExpandirConsulta(const QString& consulta, const QString& folio, const Reglas& reglas)
{
    if (reglas.modo == Modo::Empalmar)
        return Marcadores::ExpandirConsulta(consulta, folio);
    return Sustituir(consulta, QStringLiteral("{FOLIO}"), folio, QStringLiteral("FOLIO"), reglas.dialecto);
}

ExpansionAutorizacion MarcadoresSql::ExpandirAutorizacion(const QString& sentencia, const QString& listaCampos,
                                                          const QStringList& columnas,
                                                          const Marcadores::LectorValor& leerValor,
                                                          const Marcadores::GanchoComentario& guardarComentario,
                                                          const QString& folio, const QString& operador,
                                                          const QString& fecha, const Reglas& reglas)
{
    if (reglas.modo == Modo::Empalmar)
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
        texto = Sustituir(texto, EntreLlaves(campo.nombre), valor, campo.nombre, reglas.dialecto);
    }
    return {ExpandirRechazo(texto, folio, operador, fecha, reglas), std::nullopt};
}

QString MarcadoresSql::ExpandirRechazo(const QString& sentencia, const QString& folio, const QString& operador,
                                       const QString& fecha, const Reglas& reglas)
{
    if (reglas.modo == Modo::Empalmar)
        return Marcadores::ExpandirRechazo(sentencia, folio, operador, fecha);
    QString texto = Sustituir(sentencia, QStringLiteral("{FOLIO}"), folio, QStringLiteral("FOLIO"), reglas.dialecto);
    texto = Sustituir(texto, QStringLiteral("{OPERADOR}"), operador, QStringLiteral("OPERADOR"), reglas.dialecto);
    return Sustituir(texto, QStringLiteral("{FECHA}"), fecha, QStringLiteral("FECHA"), reglas.dialecto);
}

std::optional<QString> MarcadoresSql::OrdenDeTransaccion(const QString& sentencia, DialectoSql dialecto)
{
    // Where statements are parted by ';', a command is the start of one. SQL
    // Server needs no ';' and its BEGIN and END also bound blocks: there the
    // words count wherever they stand, BEGIN only before TRAN.
    static const QStringList alInicio = {"BEGIN", "COMMIT", "END", "ROLLBACK", "ABORT", "SAVEPOINT", "RELEASE"};
    static const QStringList antesDeTransaction = {"START", "SET", "PREPARE"};
    static const QStringList enSqlServer = {"COMMIT", "ROLLBACK", "TRAN", "TRANSACTION"};
    LectorSql lector(sentencia, dialecto);
    // The statement's first words while only blanks and comments part them;
    // previa: the word just read, the same way.
    QStringList cabeza;
    bool seguida = true;
    QString previa;
    while (lector.Posicion() < sentencia.size()) {
        const qsizetype i = lector.Posicion();
        const QChar c = sentencia[i];
        const bool suelto = lector.Donde() == Lugar::Suelto;
        if (suelto && EmpiezaPalabra(sentencia, i)) {
            qsizetype j = i;
            while (j < sentencia.size() && EsDePalabra(sentencia[j]))
                ++j;
            const QString palabra = sentencia.sliced(i, j - i).toUpper();
            if (dialecto == DialectoSql::SqlServer) {
                if (enSqlServer.contains(palabra))
                    return palabra.startsWith(QLatin1String("TRAN")) && !previa.isEmpty() ? previa + u' ' + palabra
                                                                                          : palabra;
            } else if (seguida && cabeza.size() < 2) {
                cabeza.append(palabra);
                if ((cabeza.size() == 1 && alInicio.contains(palabra))
                    || (cabeza.size() == 2 && antesDeTransaction.contains(cabeza[0])
                        && palabra == QLatin1String("TRANSACTION")))
                    return cabeza.join(u' ');
            }
            previa = palabra;
        }
        lector.Siguiente();
        const Lugar ahora = lector.Donde();
        if (!suelto || ahora == Lugar::Linea || ahora == Lugar::Bloque
            || (ahora == Lugar::Suelto && (c.isSpace() || EsDePalabra(c))))
            continue;
        previa.clear();
        seguida = c == u';';
        if (seguida)
            cabeza.clear();
    }
    return std::nullopt;
}

void MarcadoresSql::RehusarTransacciones(const QString& sentencia, DialectoSql dialecto)
{
    if (const std::optional<QString> orden = OrdenDeTransaccion(sentencia, dialecto))
        throw orvinda::ErrorRm(QStringLiteral("La sentencia contiene la orden de transacción %1 y no se ejecutó. "
                                              "Quítela: cada sentencia ya corre en una transacción que abre y "
                                              "cierra el componente.")
                                   .arg(*orden));
}

} // namespace rm640
