#include "comun/EntornoPrueba.h"
#include "host/controles/WebBrowser.h"
#include "host/errores/ErrorRm.h"
#include "servicios/ImpresorOrvinda.h"
#include "servicios/Mensajero.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/Traza.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

TEST(ServidorPaginas, SirveLaPaginaDelEditorConSuEstiloYNadaMas)
{
    orvinda::ServidorPaginas* servidor = orvinda::ServidorPaginas::Instalar();
    EXPECT_EQ(orvinda::ServidorPaginas::Instalar(), servidor);
    orvinda::WebBrowser navegador;
    QSignalSpy completo(&navegador, &orvinda::WebBrowser::DocumentComplete);
    QStringList cargas;
    // Paths in any case, as the old server took them; any host; nothing else.
    for (const char* direccion : {"orvinda://web/EditorWeb/Pagina.Html", "orvinda://intranet/editorweb/PAGINA.html", "orvinda://web/EditorWeb/Otra.Html"}) {
        navegador.Navigate(QString::fromLatin1(direccion));
        ASSERT_TRUE(completo.wait(20000));
        cargas.append(navegador.UltimaCargaCorrecta() ? "ok" : "no");
        if (cargas.size() == 1) {
            // The stylesheet is in force: item tables get the shell's blue header.
            navegador.ReemplazarCuerpo("<table class=\"partidas\"><thead><tr><th id=\"th\">A</th></tr></thead></table>");
            QVariant fondo;
            navegador.page()->runJavaScript("getComputedStyle(document.getElementById('th')).backgroundColor", [&](const QVariant& v) { fondo = v; });
            ASSERT_TRUE(QTest::qWaitFor([&] { return fondo.isValid(); }, 10000));
            EXPECT_EQ(fondo.toString(), "rgb(0, 83, 138)");
        }
    }
    EXPECT_EQ(cargas, (QStringList{"ok", "ok", "no"}));
}

using PruebaImpresor = EntornoPrueba;

TEST_F(PruebaImpresor, ImprimeElFormatoAPdfYDiceDondeQuedo)
{
    CargarDemo();
    const QString folio = Valor("SELECT MIN(Oc_Folio) FROM Ordenes_Compra WHERE Oc_Estado = 'AU'");
    const QString rutaTraza = carpeta.filePath("traza.txt");
    orvinda::Traza traza(rutaTraza);
    orvinda::Mensajero mensajero(&traza, true);
    const QString destino = carpeta.filePath("Mis documentos");
    orvinda::ImpresorOrvinda impresor(*conexion, &mensajero, &traza, destino);

    const QString html = impresor.Componer("OC_AUTORIZADA", folio);
    EXPECT_TRUE(html.contains("Folio " + folio) && html.contains("<style>") && !html.contains("{FOLIO}") && !html.contains("{PROVEEDOR}"));
    // Values are text as on the review page, unless the site brings verbatim insertion back.
    Ejecutar("UPDATE Ordenes_Compra SET Oc_Lugar_Entrega = '<b>Patio</b>' WHERE Oc_Folio = '" + folio + "'");
    EXPECT_TRUE(impresor.Componer("OC_AUTORIZADA", folio).contains("<td>&lt;b&gt;Patio&lt;/b&gt;</td>"));
    Ejecutar("INSERT INTO Parametros_Generales (Pg_Cve_Parametro, Pg_Ambito, Pg_Tipo, Pg_Valor) VALUES ('RM640_PLANTILLA_SIN_ESCAPAR', 0, 'B', '1')");
    EXPECT_TRUE(impresor.Componer("OC_AUTORIZADA", folio).contains("<td><b>Patio</b></td>"));

    // Printed in the background: whoever asked hears the file once it is written.
    QString escrito;
    impresor.setAlTerminar([&](const QString& archivo, const QString& error) { escrito = archivo + error; });
    impresor.Imprimir("OC_AUTORIZADA", folio, QString(), 0, 0, QString());
    const QString ruta = QDir(destino).filePath("OC_AUTORIZADA_" + folio + ".pdf");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !escrito.isEmpty(); }, 30000));
    EXPECT_TRUE(escrito == ruta && LeerArchivo(ruta).startsWith("%PDF-"));
    // Who hears the end tells it; with nobody listening the message does (unattended, to the trace).
    const QString mensaje = QStringLiteral("MSG ERR-ID:9900020 estilo=64 titulo=\"Imprimir\" modulo=ORVINDA texto=\"El documento %1 se guardó en:\n%2\"")
                                .arg(folio, QDir::toNativeSeparators(ruta));
    EXPECT_FALSE(LeerArchivo(rutaTraza).contains(mensaje));
    impresor.setAlTerminar({});
    impresor.Imprimir("OC_AUTORIZADA", folio, QString(), 0, 0, QString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return LeerArchivo(rutaTraza).contains(mensaje); }, 30000));

    // What cannot be printed says why, and writes nothing.
    QStringList errores;
    for (const auto& [formato, documento] : {std::pair{"NO_EXISTE", folio}, std::pair{"OC_AUTORIZADA", QString("OC-O'HARA")}}) {
        try {
            impresor.Imprimir(QString::fromLatin1(formato), documento, QString(), 0, 0, QString());
        } catch (const orvinda::ErrorRm& e) {
            errores.append(e.Descripcion());
        }
    }
    EXPECT_EQ(errores,
              (QStringList{"No existe el formato de impresión 'NO_EXISTE'.", "El formato de impresión 'OC_AUTORIZADA' no encontró el documento OC-O'HARA."}));
    EXPECT_EQ(QDir(destino).entryList(QDir::Files).size(), 1);
}
