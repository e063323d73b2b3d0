#include "comun/ImpresionQt.h"
#include "marcadores/MarcadoresHtml.h"
#include "marcadores/MarcadoresSql.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using rm640::ColumnaPlantilla;
using rm640::Marcadores;
using rm640::MarcadoresHtml;
using Modo = MarcadoresHtml::Modo;

namespace {

QString Expandir(const QString& plantilla, const QList<ColumnaPlantilla>& fila)
{
    return MarcadoresHtml::ExpandirPlantilla(plantilla, fila, Modo::Escapar);
}

} // namespace

// One row per place a token can stand: what the value becomes there, or
// that it is refused, naming its column.
TEST(MarcadoresHtml, CadaValorSeEscribeSegunDondeEstaOSeRehusa)
{
    struct Caso
    {
        const char* plantilla;
        const char* valor;
        const char* esperado; // nullptr: refused
    };
    const Caso casos[] = {
        {"<p>{V}</p>", "<b>&\"'", "<p>&lt;b&gt;&amp;\"'</p>"},
        {"<textarea>{V}</textarea>", "</textarea><b>", "<textarea>&lt;/textarea&gt;&lt;b&gt;</textarea>"},
        {"<TITLE>{V}</title>", "</title >", "<TITLE>&lt;/title &gt;</title>"},
        {"<textarea>x</textarea{V}", " ", nullptr},
        {"<textarea>x<{V}", "/textarea>", nullptr},
        {"<p title=\"{V}\">", "a\"b'<&>", "<p title=\"a&quot;b&#39;&lt;&amp;&gt;\">"},
        {"<p title='{V}'>", "' onmouseover='x", "<p title='&#39; onmouseover=&#39;x'>"},
        {"<p title=\"a>b\">{V}", ">", "<p title=\"a>b\">&gt;"},
        {"<p class={V}>", "a1.b-c_D", "<p class=a1.b-c_D>"},
        {"<p class=x{V} id=y>", "", "<p class=x id=y>"},
        {"<p class={V}>", "", "<p class=>"},
        {"<p class={V} style=color:red>", "", nullptr},
        {"<p class={V}>", "a b", nullptr},
        {"<p class={V}>", "1,5", nullptr},
        {"<!-- {V} -->", "x", nullptr},
        {"<!{V}>", "--", nullptr},
        {"<!-->{V}", "<", "<!-->&lt;"},
        {"<!-- a --!>{V}", "<", "<!-- a --!>&lt;"},
        {"<script>{V}</script>", "1", nullptr},
        {"<script><!--<script></script>{V}</script>", "1", nullptr},
        {"<script><!-- </script>{V}", "<", "<script><!-- </script>&lt;"},
        {"<STYLE>{V}</style>", "x", nullptr},
        {"<style>p{}</style>{V}", ">", "<style>p{}</style>&gt;"},
        {"<xmp>{V}", "x", nullptr},
        {"<plaintext>{V}", "x", nullptr},
        {"<{V}>", "b", nullptr},
        {"<p {V}>", "hidden", nullptr},
        {"<p a=\"1\"{V}>", "x", nullptr},
        {"</p {V}>", "x", nullptr},
        {"<br/{V}>", "x", nullptr},
    };
    for (const Caso& c : casos) {
        const QList<ColumnaPlantilla> fila{{"V", QString::fromUtf8(c.valor)}};
        const QString plantilla = QString::fromUtf8(c.plantilla);
        if (c.esperado) {
            EXPECT_EQ(Expandir(plantilla, fila), QString::fromUtf8(c.esperado)) << c.plantilla;
            continue;
        }
        try {
            Expandir(plantilla, fila);
            ADD_FAILURE() << "accepted in " << c.plantilla;
        } catch (const rm640::ValorNoAdmitido& e) {
            EXPECT_TRUE(e.Campo() == "V" && e.Descripcion().startsWith("El valor del campo 'V' no se puede usar en la plantilla: "))
                << e.Descripcion().toStdString();
        }
    }
}

// Markup goes in where the template (or other markup) put its token; a
// token a value spelled is text, and what markup opens counts for the rest.
TEST(MarcadoresHtml, LasColumnasHtmlSonMarcadoYNingunValorLasCrea)
{
    const QList<ColumnaPlantilla> fila{{"A", QString("{detalle_html}<i>")}, {"Detalle_Html", QString("<b>{B}</b>")}, {"B", QString("<u>")}};
    EXPECT_EQ(Expandir("<p>{A}</p>{DETALLE_HTML}", fila), "<p>&lt;b&gt;&lt;u&gt;&lt;/b&gt;&lt;i&gt;</p><b>&lt;u&gt;</b>");
    // A markup token built across a value and the template is text as well.
    EXPECT_EQ(Expandir("{A}HTML}", {{"A", QString("<{X_")}, {"X_HTML", QString("<hr>")}}), "&lt;&lt;hr&gt;");
    EXPECT_THROW(Expandir("{X_HTML}<p>{B}</p>", {{"X_HTML", QString("<!--")}, {"B", QString("b")}}), rm640::ValorNoAdmitido);
    EXPECT_EQ(MarcadoresHtml::ExpandirPlantilla("<p>{A}</p>", QList<ColumnaPlantilla>{{"A", QString("<hr>")}}, Modo::Empalmar), "<p><hr></p>");
    try {
        Expandir("{A}{B}", {{"A", QString("1")}, {"B", std::nullopt}});
        FAIL() << "a NULL column was turned into text";
    } catch (const orvinda::ErrorRm& e) {
        EXPECT_EQ(e.Descripcion(), "Uso no válido de Null");
    }
}

// Values without '&', '<', '>', '"' and "'" (tokens, braces, dashes and
// blanks included) give the page the plain expansion gives.
TEST(MarcadoresHtml, SinLosCincoCaracteresLaPaginaEsLaDeSiempre)
{
    const QString plantilla = "<div class=\"d\" title=\"{A}\"><p>{b} {A}</p>\n<textarea>{C}</textarea><input value='{B}'>{D_HTML}<!-- nota --></div>";
    const QString alfabeto = "abcXYZ019 ,;=/-!?{}ñ\t";
    const QStringList piezas = {"{A}", "{b}", "{C}", "{d_html}", "{D_HTML"};
    QRandomGenerator azar(20);
    for (int n = 0; n < 300; ++n) {
        QList<ColumnaPlantilla> fila;
        for (const char* nombre : {"A", "B", "C", "D_HTML"}) {
            QString valor;
            for (int k = azar.bounded(8); k > 0; --k)
                valor += azar.bounded(4) ? QString(alfabeto[azar.bounded(alfabeto.size())]) : piezas[azar.bounded(piezas.size())];
            fila.append({nombre, valor});
        }
        EXPECT_EQ(Expandir(plantilla, fila), Marcadores::ExpandirPlantilla(plantilla, fila)) << fila[0].valor->toStdString();
    }
}

// One call over a long page reads on from where earlier passes left the
// reader; it must give what one call per column, each reading from the
// start, gives. Tokens are sparse, so that passes do read on.
TEST(MarcadoresHtml, UnaLlamadaDaLoQueUnaPorColumna)
{
    const QStringList relleno
        = {"<!-- nota -->",         "<script>if (a<b) x--;</script>", "<style>p{}</style>", "texto ", "<!--->", "<script><!--<script></script>--></script>",
           "<i title='texto'>x</i>"};
    const QStringList conMarcas
        = {"<p>{A} y {b}</p>", "<i title='{C} x'>{A}</i>", "<td a={U}>", "<td a={U} c=1>", "<td a={V}>", "<textarea>{C}</textarea>", "{X_HTML}"};
    const QStringList valores = {"abc", "", "<b>", "'\"", "{A}", "<i title='x'>", "</textarea>", "<i title='"};
    QRandomGenerator azar(64);
    for (int n = 0; n < 60; ++n) {
        QString plantilla;
        for (int i = azar.bounded(3000); i > 0; --i)
            plantilla += azar.bounded(50) ? relleno[azar.bounded(relleno.size())] : conMarcas[azar.bounded(conMarcas.size())];
        QList<ColumnaPlantilla> fila;
        for (const char* nombre : {"A", "B", "X_HTML", "C"})
            fila.append({nombre, valores[azar.bounded(valores.size())] + valores[azar.bounded(valores.size())]});
        fila.append({"U", QString(azar.bounded(2) ? "abc" : "x-1")});
        fila.append({"V", QString(azar.bounded(2) ? "" : "v")});
        const auto pagina = [&](bool unaPorColumna) {
            QString texto = plantilla;
            try {
                if (!unaPorColumna)
                    return Expandir(texto, fila);
                for (const ColumnaPlantilla& c : fila)
                    texto = Expandir(texto, {c});
                return texto;
            } catch (const rm640::ValorNoAdmitido& e) {
                return e.Descripcion();
            }
        };
        EXPECT_EQ(pagina(false), pagina(true)) << n;
    }
    // Markup that leaves an attribute open: a value far after it is read in that attribute.
    const QString texto(9000, u'x');
    EXPECT_EQ(Expandir("{A}" + texto + "{X_HTML}" + texto + "{C}'>{A}", {{"A", QString("a")}, {"X_HTML", QString("<i title='")}, {"C", QString("'")}}),
              "a" + texto + "<i title='" + texto + "&#39;'>a");
}
