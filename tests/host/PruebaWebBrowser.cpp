#include "comun/Ayudas.h"
#include "host/controles/WebBrowser.h"
#include "host/datos/ErrorRm.h"

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

    navegador.setHtml(QStringLiteral("<html><body><p>Pagina</p></body></html>"));
    ASSERT_TRUE(EsperarCarga(completo, 0));
    EXPECT_TRUE(navegador.UltimaCargaCorrecta());
    EXPECT_EQ(navegador.HtmlCuerpo(), QStringLiteral("<p>Pagina</p>"));

    // Quotes, backslashes, line breaks and a closing script tag reach the page intact.
    const QString raro = QStringLiteral("<b>O'Brien \"dijo\" \\n</b>\n<i>línea</i></script>\u2028");
    navegador.ReemplazarCuerpo(raro);
    EXPECT_EQ(navegador.HtmlCuerpo(), QStringLiteral("<b>O'Brien \"dijo\" \\n</b>\n<i>línea</i>\u2028"));

    navegador.ReemplazarCuerpo(QStringLiteral("<input id='Monto' value='0'>"
                                              "<input name='Comentario' value='inicial'>"
                                              "<textarea id='Notas'>texto</textarea>"
                                              "<select id='Tipo'><option value='A'>a</option><option value='B' selected>b</option></select>"
                                              "<span id='Folio'> RC-001 </span>"
                                              "<input name='Doble'><input id='Doble'>"));
    // What the user types lives in the element's value, not in the markup.
    navegador.page()->runJavaScript(QStringLiteral("document.getElementById('Monto').value = '150.75';"));
    EXPECT_EQ(navegador.ValorElemento(QStringLiteral("Monto")), QStringLiteral("150.75"));
    EXPECT_EQ(navegador.ValorElemento(QStringLiteral("Comentario")), QStringLiteral("inicial"));
    EXPECT_EQ(navegador.ValorElemento(QStringLiteral("Notas")), QStringLiteral("texto"));
    EXPECT_EQ(navegador.ValorElemento(QStringLiteral("Tipo")), QStringLiteral("B"));
    EXPECT_EQ(navegador.ValorElemento(QStringLiteral("Folio")), QStringLiteral(" RC-001 "));

    EXPECT_EQ(DescripcionDe([&] { navegador.ValorElemento(QStringLiteral("Falta")); }), QStringLiteral("No existe el elemento 'Falta' en la página"));
    EXPECT_EQ(DescripcionDe([&] { navegador.ValorElemento(QStringLiteral("Doble")); }), QStringLiteral("Hay 2 elementos 'Doble' en la página"));
    // Names are data, never script.
    EXPECT_EQ(DescripcionDe([&] { navegador.ValorElemento(QStringLiteral("x') || ('")); }), QStringLiteral("No existe el elemento 'x') || ('' en la página"));
    // Case matters, as ids and names do in the page.
    EXPECT_NE(DescripcionDe([&] { navegador.ValorElemento(QStringLiteral("monto")); }), "<sin error>");
}

TEST(WebBrowser, NavegaAArchivoYAvisaTambienAlFallar)
{
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    QFile pagina(carpeta.filePath(QStringLiteral("Pagina.Html")));
    ASSERT_TRUE(pagina.open(QIODevice::WriteOnly));
    pagina.write("<html><head><title>Editor</title></head><body><div id='x'>servida</div></body></html>");
    pagina.close();

    WebBrowser navegador;
    QSignalSpy completo(&navegador, &WebBrowser::DocumentComplete);
    navegador.Navigate(QUrl::fromLocalFile(pagina.fileName()).toString());
    ASSERT_TRUE(EsperarCarga(completo, 0));
    EXPECT_TRUE(navegador.UltimaCargaCorrecta());
    EXPECT_EQ(navegador.ValorElemento(QStringLiteral("x")), QStringLiteral("servida"));

    // Loading the same page again is a second completion.
    navegador.Navigate(QUrl::fromLocalFile(pagina.fileName()).toString());
    ASSERT_TRUE(EsperarCarga(completo, 1));

    // A page that cannot be loaded still completes, marked as failed.
    navegador.Navigate(QUrl::fromLocalFile(carpeta.filePath(QStringLiteral("NoExiste.Html"))).toString());
    ASSERT_TRUE(EsperarCarga(completo, 2));
    EXPECT_FALSE(navegador.UltimaCargaCorrecta());
}

TEST(WebBrowser, SinRespuestaAgotaLaEspera)
{
    WebBrowser navegador;
    QSignalSpy completo(&navegador, &WebBrowser::DocumentComplete);
    navegador.setHtml(QStringLiteral("<html><body><input id='a' value='1'></body></html>"));
    ASSERT_TRUE(EsperarCarga(completo, 0));
    // A script that keeps the page busy longer than the wait.
    navegador.setTimeout(300);
    navegador.page()->runJavaScript(QStringLiteral("var fin = Date.now() + 1500; while (Date.now() < fin) {}"));
    const QString error = DescripcionDe([&] { navegador.ValorElemento(QStringLiteral("a")); });
    EXPECT_EQ(error, QStringLiteral("La página no respondió al leer 'a'"));
    // The late answer is dropped and the browser keeps working.
    navegador.setTimeout(5000);
    EXPECT_EQ(navegador.ValorElemento(QStringLiteral("a")), QStringLiteral("1"));
}
