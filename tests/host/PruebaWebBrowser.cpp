#include "comun/Ayudas.h"
#include "comun/AyudasVentanas.h"
#include "host/controles/WebBrowser.h"
#include "host/errores/ErrorRm.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace orvinda;

namespace {

bool EsperarCarga(QSignalSpy& completo, int antes)
{
    return QTest::qWaitFor([&] { return completo.count() > antes; }, 30000);
}

} // namespace

TEST(WebBrowser, CargaReemplazaYLeeValores)
{
    WebBrowser navegador;
    QSignalSpy completo(&navegador, &WebBrowser::DocumentComplete);

    navegador.setHtml("<html><body><p>Pagina</p></body></html>");
    ASSERT_TRUE(EsperarCarga(completo, 0));
    EXPECT_TRUE(navegador.UltimaCargaCorrecta() && navegador.HtmlCuerpo() == "<p>Pagina</p>");

    // Quotes, backslashes, line breaks and a closing script tag reach the page intact.
    const QString raro = "<b>O'Brien \"dijo\" \\n</b>\n<i>línea</i></script>\u2028";
    navegador.ReemplazarCuerpo(raro);
    EXPECT_EQ(navegador.HtmlCuerpo(), "<b>O'Brien \"dijo\" \\n</b>\n<i>línea</i>\u2028");

    navegador.ReemplazarCuerpo(QStringLiteral("<input id='Monto' value='0'>"
                                              "<input name='Comentario' value='inicial'>"
                                              "<textarea id='Notas'>texto</textarea>"
                                              "<select id='Tipo'><option value='A'>a</option><option value='B' selected>b</option></select>"
                                              "<span id='Folio'> RC-001 </span>"
                                              "<input name='Doble'><input id='Doble'>"));
    // What the user types lives in the element's value, not in the markup.
    navegador.page()->runJavaScript("document.getElementById('Monto').value = '150.75';");
    for (auto [id, valor] : {std::pair{"Monto", "150.75"}, {"Comentario", "inicial"}, {"Notas", "texto"}, {"Tipo", "B"}, {"Folio", " RC-001 "}})
        EXPECT_EQ(navegador.ValorElemento(id), valor) << id;
    EXPECT_EQ(DescripcionDe([&] { navegador.ValorElemento("Falta"); }), "No existe el elemento 'Falta' en la página");
    EXPECT_EQ(DescripcionDe([&] { navegador.ValorElemento("Doble"); }), "Hay 2 elementos 'Doble' en la página");
    // Names are data, never script.
    EXPECT_EQ(DescripcionDe([&] { navegador.ValorElemento("x') || ('"); }), "No existe el elemento 'x') || ('' en la página");
    // Case matters, as ids and names do in the page.
    EXPECT_NE(DescripcionDe([&] { navegador.ValorElemento("monto"); }), "<sin error>");
}

TEST(WebBrowser, NavegaAArchivoYAvisaTambienAlFallar)
{
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    QFile pagina(carpeta.filePath("Pagina.Html"));
    ASSERT_TRUE(pagina.open(QIODevice::WriteOnly));
    pagina.write("<html><head><title>Editor</title></head><body><div id='x'>servida</div></body></html>");
    pagina.close();

    WebBrowser navegador;
    QSignalSpy completo(&navegador, &WebBrowser::DocumentComplete);
    navegador.Navigate(QUrl::fromLocalFile(pagina.fileName()).toString());
    ASSERT_TRUE(EsperarCarga(completo, 0));
    EXPECT_TRUE(navegador.UltimaCargaCorrecta() && navegador.ValorElemento("x") == "servida");

    // Loading the same page again is a second completion.
    navegador.Navigate(QUrl::fromLocalFile(pagina.fileName()).toString());
    ASSERT_TRUE(EsperarCarga(completo, 1));

    // A page that cannot be loaded still completes, marked as failed.
    navegador.Navigate(QUrl::fromLocalFile(carpeta.filePath("NoExiste.Html")).toString());
    ASSERT_TRUE(EsperarCarga(completo, 2) && !navegador.UltimaCargaCorrecta());
}

TEST(WebBrowser, SinRespuestaAgotaLaEspera)
{
    WebBrowser navegador;
    QSignalSpy completo(&navegador, &WebBrowser::DocumentComplete);
    navegador.setHtml("<html><body><input id='a' value='1'></body></html>");
    ASSERT_TRUE(EsperarCarga(completo, 0));
    // A script that keeps the page busy longer than the wait.
    navegador.setTimeout(300);
    navegador.page()->runJavaScript("var fin = Date.now() + 1500; while (Date.now() < fin) {}");
    EXPECT_EQ(DescripcionDe([&] { navegador.ValorElemento("a"); }), "La página no respondió al leer 'a'");
    // The late answer is dropped and the browser keeps working.
    navegador.setTimeout(5000);
    EXPECT_EQ(navegador.ValorElemento("a"), "1");
}

// The next browser gets the last one's page, warm and emptied of its document.
TEST(WebBrowser, LaPaginaGuardadaPasaVaciaAlSiguiente)
{
    auto primero = std::make_unique<WebBrowser>();
    primero->TomarPaginaGuardada();
    primero->setHtml("<html><body><p>Documento anterior</p></body></html>");
    ASSERT_TRUE(EsperarPagina(*primero, "anterior"));
    const auto* pagina = primero->page();
    primero.reset();
    WebBrowser siguiente;
    siguiente.TomarPaginaGuardada();
    EXPECT_TRUE(siguiente.page() == pagina && siguiente.HtmlCuerpo().isEmpty());
}
