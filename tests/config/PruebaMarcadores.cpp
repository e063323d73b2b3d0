#include "comun/ImpresionQt.h"
#include "marcadores/Marcadores.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QRandomGenerator>
#include <QStringList>

#include <ostream>

namespace rm640 {
static void PrintTo(const CampoAutorizar& c, std::ostream* os)
{
    *os << (c.obligatorio ? "*" : "") << '"' << c.nombre.toStdString() << '"';
}
} // namespace rm640

using rm640::CampoAutorizar;
using rm640::ColumnaPlantilla;
using rm640::ExpansionAutorizacion;
using rm640::Marcadores;

namespace {

// Obvious quadratic replacement, the yardstick for the real search.
QString sustituirIngenuo(const QString& texto, const QString& marcador, const QString& valor, bool ignorar)
{
    QString r;
    for (qsizetype i = 0; i < texto.size();) {
        if (QStringView(texto).sliced(i).startsWith(marcador, ignorar ? Qt::CaseInsensitive : Qt::CaseSensitive)) {
            r += valor;
            i += marcador.size();
        } else {
            r += texto[i++];
        }
    }
    return r;
}

// The page: values by field name, and every field asked for.
struct Pagina
{
    QHash<QString, QString> valores;
    QStringList leidos;

    ExpansionAutorizacion expandir(const QString& sentencia, const QString& lista, const QStringList& columnas, const Marcadores::GanchoComentario& gancho = {})
    {
        leidos.clear();
        const auto lector = [this](const QString& campo) {
            leidos.append(campo);
            return valores.value(campo);
        };
        return Marcadores::ExpandirAutorizacion(sentencia, lista, columnas, lector, gancho, "F-7", "OPE1", "D");
    }
    // The statement, then the fields read for it.
    QString yLeidos(const ExpansionAutorizacion& r) const { return r.sentencia + u'#' + leidos.join(u','); }
};

} // namespace

TEST(Marcadores, SustituirMarcador)
{
    const QString texto = "a {FOLIO} b {folio} c {Folio}";
    EXPECT_EQ(Marcadores::SustituirMarcador(texto, "{FOLIO}", "X", false), "a X b {folio} c {Folio}");
    EXPECT_EQ(Marcadores::SustituirMarcador(texto, "{FOLIO}", "X", true), "a X b X c X");
    // Letters outside the BMP; the search's edge cases are in the comparison below.
    EXPECT_EQ(Marcadores::SustituirMarcador(QString::fromUtf8("<\U00010428>"), QString::fromUtf8("<\U00010400>"), "d", true), "d");
    EXPECT_EQ(Marcadores::SustituirMarcador("N = '{A}'", "{A}", "O'Neil", false), "N = 'O'Neil'");
    EXPECT_EQ(Marcadores::SustituirMarcador(texto, "", "1", false), texto);
}

TEST(Marcadores, SustituirMarcadorCoincideConLaVersionIngenua)
{
    // Small alphabets make overlaps, near misses and case variants frequent.
    const QString letras = "aAbB{}ñÑ";
    QRandomGenerator azar(640);
    auto cadena = [&](int maximo) {
        QString s;
        for (int n = azar.bounded(maximo + 1); n > 0; --n)
            s += letras[azar.bounded(int(letras.size()))];
        return s;
    };
    for (int vuelta = 0; vuelta < 20000; ++vuelta) {
        const QString texto = cadena(40), marcador = u'{' + cadena(4), valor = cadena(3);
        const QString aTexto = vuelta % 3 ? marcador.mid(1) : marcador; // also tokens starting with a letter
        const bool ignorar = vuelta % 2;
        if (aTexto.isEmpty())
            continue;
        ASSERT_EQ(Marcadores::SustituirMarcador(texto, aTexto, valor, ignorar), sustituirIngenuo(texto, aTexto, valor, ignorar))
            << qPrintable(texto) << " / " << qPrintable(aTexto) << " / " << ignorar;
    }
}

TEST(Marcadores, ExpandirConsultaYRechazo)
{
    EXPECT_EQ(Marcadores::ExpandirConsulta("WHERE F = '{FOLIO}' OR G = '{folio}'", "A'1"), "WHERE F = 'A'1' OR G = '{folio}'");
    // In order: a folio holding {OPERADOR} gets the operator; an operator holding {FOLIO} keeps it.
    EXPECT_EQ(Marcadores::ExpandirRechazo("{FOLIO}|{OPERADOR}|{FECHA}|{fecha}", "f{OPERADOR}", "o{FOLIO}", "d"), "fo{FOLIO}|o{FOLIO}|d|{fecha}");
}

TEST(Marcadores, ExpandirPlantilla)
{
    const QString html = "<b>{Nombre}</b> {NOMBRE} {nombre} {IMPORTE} {FOLIO}";
    EXPECT_EQ(Marcadores::ExpandirPlantilla(html, std::nullopt), html);

    // Tokens in any case; a lower-case column name forms the upper-case token.
    const QList<ColumnaPlantilla> fila{{"nombre", QString("Ana")}, {"Importe", QString("1,5")}};
    EXPECT_EQ(Marcadores::ExpandirPlantilla(html, fila), "<b>Ana</b> Ana Ana 1,5 {FOLIO}");

    // Column order: a value holding a later column's token is replaced, one holding an earlier one's is not.
    const QList<ColumnaPlantilla> encadenada{{"A", QString("[{b}]")}, {"B", QString("<{A}>")}, {"C", QString("'")}};
    EXPECT_EQ(Marcadores::ExpandirPlantilla("{A}{B}{C}", encadenada), "[<{A}>]<{A}>'");

    const QList<ColumnaPlantilla> conNull{{"A", QString("1")}, {"B", std::nullopt}};
    try {
        Marcadores::ExpandirPlantilla("{A}{B}", conNull);
        FAIL() << "a NULL column was turned into text";
    } catch (const orvinda::ErrorRm& e) {
        EXPECT_EQ(e.Descripcion(), "Uso no válido de Null");
    }
}

TEST(Marcadores, LeerListaCampos)
{
    using L = QList<CampoAutorizar>;
    EXPECT_EQ(Marcadores::LeerListaCampos(""), L{});
    EXPECT_EQ(Marcadores::LeerListaCampos("A, B,,"), (L{{"A", false}, {" B", false}, {"", false}, {"", false}}));
    // Every star of a required item goes; an optional item keeps its stars.
    EXPECT_EQ(Marcadores::LeerListaCampos("**IM*PORTE*,NOTA*, *X,*"), (L{{"IMPORTE", true}, {"NOTA*", false}, {" *X", false}, {"", true}}));
}

TEST(Marcadores, ExpandirAutorizacion)
{
    Pagina p;
    p.valores = {{"IMPORTE", "100"}, {"NOTA", "ok"}, {"CLAVE", "K'1"}};
    const QStringList columnas{"importe", "Nota", "CLAVE"};

    auto r = p.expandir("X '{FOLIO}', {IMPORTE}, '{NOTA}', '{CLAVE}', '{OPERADOR}', {FECHA}, {importe}", "*IMPORTE,NOTA,CLAVE", columnas);
    EXPECT_TRUE(r.completa());
    EXPECT_EQ(p.yLeidos(r), "X 'F-7', 100, 'ok', 'K'1', 'OPE1', D, {importe}#IMPORTE,NOTA,CLAVE");

    // A blank after a comma, a lower-case name and empty items match no column: nothing read, tokens stay.
    EXPECT_EQ(p.yLeidos(p.expandir("{IMPORTE}|{NOTA}|{nota}", "IMPORTE, NOTA,nota,,", columnas)), "100|{NOTA}|{nota}#IMPORTE");

    EXPECT_EQ(p.yLeidos(p.expandir("{IMPORTE} {FOLIO} {OPERADOR} {FECHA}", "", columnas)), "{IMPORTE} F-7 OPE1 D#");

    // Pass order: {FOLIO} in a value becomes the folio; a later field's token
    // is replaced, an earlier field's is not.
    p.valores = {{"A", "a{FOLIO}{B}"}, {"B", "b{A}"}};
    EXPECT_EQ(p.expandir("{A}|{B}", "A,B", {"A", "B"}).sentencia, "aF-7b{A}|b{A}");
    EXPECT_EQ(p.expandir("{A}|{B}", "B,A", {"A", "B"}).sentencia, "aF-7{B}|baF-7{B}");
}

TEST(Marcadores, ExpandirAutorizacionCampoObligatorio)
{
    Pagina p;
    p.valores = {{"A", "1"}, {"B", ""}, {"C", "3"}};
    const QStringList columnas{"A", "B", "C"};

    // The empty required field stops everything: later items are not read.
    auto r = p.expandir("{A}{B}{C}", "A,*B,*C", columnas);
    EXPECT_TRUE(!r.completa() && r.campoFaltante == "B" && r.sentencia.isEmpty());
    EXPECT_EQ(p.leidos, (QStringList{"A", "B"}));

    EXPECT_EQ(p.expandir("[{A}][{B}][{C}]", "A,B,*C", columnas).sentencia, "[1][][3]");

    // Required but naming no column: skipped without reading.
    EXPECT_EQ(p.yLeidos(p.expandir("{FALTA}{A}", "*FALTA,*A", columnas)), "{FALTA}1#A");

    // An unnamed column meets the item "*": an empty name can still be the one missing.
    r = p.expandir("{}", "*", QStringList{"A", ""});
    EXPECT_TRUE(!r.completa() && r.campoFaltante == QString());
}

TEST(Marcadores, ExpandirAutorizacionComentario)
{
    const QString& comentario = Marcadores::CampoComentarioDocumento;
    EXPECT_EQ(comentario, "COMENTARIO_DOCUMENTO");
    const QStringList columnas{comentario, "A"};
    QStringList recibidos;
    const Marcadores::GanchoComentario gancho = [&](QString& valor) {
        recibidos.append(valor);
        valor += " (visto)";
    };

    Pagina p;
    p.valores = {{"A", "x"}};
    EXPECT_EQ(p.expandir("'{COMENTARIO_DOCUMENTO}'", "COMENTARIO_DOCUMENTO,A", columnas, gancho).sentencia, "''");
    EXPECT_TRUE(recibidos.isEmpty());

    // Called once, and what it leaves is inserted; a plain field is no comment.
    p.valores[comentario] = "Bien";
    EXPECT_EQ(p.expandir("'{COMENTARIO_DOCUMENTO}' {A}", "*COMENTARIO_DOCUMENTO,A", columnas, gancho).sentencia, "'Bien (visto)' x");
    EXPECT_EQ(recibidos, QStringList{"Bien"});

    // The hook runs before the required check.
    EXPECT_EQ(p.expandir("", "*COMENTARIO_DOCUMENTO", columnas, [](QString& valor) { valor.clear(); }).campoFaltante, comentario);

    // Errors of the hook and of the reader reach the caller.
    EXPECT_THROW(p.expandir("", "COMENTARIO_DOCUMENTO", columnas, [](QString&) { throw orvinda::ErrorRm("x"); }), orvinda::ErrorRm);
    const auto lectorFalla = [](const QString&) -> QString { throw orvinda::ErrorRm("sin página"); };
    EXPECT_THROW(Marcadores::ExpandirAutorizacion("", "A", columnas, lectorFalla, {}, "", "", ""), orvinda::ErrorRm);
}

// A value that carries its own token doubles the text on every pass over
// it; the expansion stops with an error long before memory runs out.
TEST(Marcadores, UnaExpansionQueCreceSinFinFallaConUnError)
{
    QList<rm640::ColumnaPlantilla> fila;
    for (int i = 0; i < 40; ++i)
        fila.append({"A", QString("{A}{A}")});
    try {
        rm640::Marcadores::ExpandirPlantilla("<p>{A}</p>", fila);
        FAIL() << "expected the size limit";
    } catch (const orvinda::ErrorRm& e) {
        EXPECT_EQ(e.Descripcion(), "El texto expandido excede 33554432 caracteres");
    }
}
