#include "comun/EnCadaBase.h"
#include "config/Parametros.h"
#include "host/bitacora/VerificacionBitacora.h"
#include "host/datos/LecturaExacta.h"
#include "host/controles/ListView.h"
#include "host/controles/WebBrowser.h"
#include "inbox/frmRM640.h"
#include "inbox/frmValoresLote.h"
#include "marcadores/MarcadoresSql.h"
#include "publico/Publico.h"
#include "review/AutorizacionEnLote.h"
#include "review/RevisionDocumento.h"
#include "review/frmAutorizacion.h"
#include "review/frmRechazar.h"
#include "seguridad/PruebaConShell.h"
#include "servicios/ImpresorOrvinda.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/TrabajoPdf.h"
#include "shell/IdentidadOperador.h"

#include <QFile>
#include <QItemSelectionModel>
#include <QTcpServer>
#include <QTest>

#include <QRegularExpression>
#include <algorithm>

using namespace rm640;
using Modo = MarcadoresSql::Modo;

namespace {

const QString Carga = "PRE-1', Rq_Oper_Autoriza='SOLICITANTE', Rq_Estado='AU' WHERE Rq_Estado='PE' /*";

// On the tests' own SQLite file and on their PostgreSQL.
class PruebaSeguridad : public EnCadaBase<PruebaConShell>
{
protected:
    // A pending requisition under a new folio, a copy of the first one.
    void Copiar(const QString& folio)
    {
        const QString columnas = QStringLiteral("Rq_Fecha, Rq_Fecha_Requerida, Em_Cve_Empleado, Dp_Cve_Departamento, Rq_Prioridad,"
                                                " Rq_Justificacion, Rq_Subtotal, Rq_Iva, Rq_Total, Rq_Detalle_Html");
        Ejecutar(QStringLiteral("INSERT INTO Requisiciones_Compra (Rq_Folio, %1) SELECT '%2', %1 FROM Requisiciones_Compra WHERE Rq_Folio = '%3'")
                     .arg(columnas, QString(folio).replace(u'\'', QLatin1String("''")), primero));
    }

    // Opens folio from the requisitions' tab as the operator does and runs
    // accion once the page holds the document.
    void Abrir(const QString& folio, const std::function<void(frmAutorizacion&)>& accion)
    {
        Publico::Main();
        frmRM640& bandeja = frmRM640::Instancia();
        bandeja.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return bandeja.Cargado(); }, 10000));
        orvinda::ListView& lista = bandeja.lvInsidencias(0);
        EsperarLista(lista);
        lista.ListItemsAdd(folio);
        lista.setSelectedIndex(lista.ListItemsCount() - 1);
        bool abierto = false;
        AlAbrirse<frmAutorizacion>([&](frmAutorizacion& d) {
            abierto = EsperarPagina(d.WebBrowser1(), "MONTO_AUTORIZADO");
            if (abierto)
                accion(d);
            if (d.isVisible())
                d.cmdCancelar_Click();
        });
        bandeja.lvInsidencias_DblClick(0);
        EXPECT_TRUE(abierto) << folio.toStdString();
    }

    QString Estado(const QString& folio)
    {
        return Valor(QStringLiteral("SELECT Rq_Estado || '|' || COALESCE(Rq_Comentario_Revision, '') || '|' || COALESCE(Rq_Oper_Autoriza, '')"
                                    " FROM Requisiciones_Compra WHERE Rq_Folio = '%1'")
                         .arg(QString(folio).replace(u'\'', QLatin1String("''"))));
    }
};

INSTANTIATE_TEST_SUITE_P(Bases, PruebaSeguridad, ::testing::Values(false, true), NombreDeBase);

} // namespace

TEST_P(PruebaSeguridad, UnDocumentoHostilNoEjecutaNadaNiSaleDelProceso)
{
    QTcpServer escucha;
    ASSERT_TRUE(escucha.listen(QHostAddress::LocalHost));
    const QString afuera = QStringLiteral("http://127.0.0.1:%1/").arg(escucha.serverPort());
    const QString hostil = QStringLiteral("<tr><td><img src=x onerror=\"document.getElementById('MONTO_AUTORIZADO').value='666';fetch('%1s')\">"
                                          "<img src=\"%1i\"><iframe src=\"%1f\"></iframe><style>@import url(%1c);</style>"
                                          "<script>document.getElementById('MONTO_AUTORIZADO').value='666'</script></td></tr>")
                               .arg(afuera);
    Ejecutar(QStringLiteral("UPDATE Requisiciones_Compra SET Rq_Detalle_Html = '%1' WHERE Rq_Folio = '%2'")
                 .arg(QString(hostil).replace(u'\'', QLatin1String("''")), primero));

    Abrir(primero, [&](frmAutorizacion& d) {
        QTest::qWait(1500);
        EXPECT_NE(d.WebBrowser1().ValorElemento("MONTO_AUTORIZADO"), "666");
    });
    // Printing renders the same text.
    QString impreso = "<pendiente>";
    orvinda::TrabajoPdf::Iniciar(QStringLiteral("<body>%1</body>").arg(hostil), carpeta.filePath("hostil.pdf"),
                                 [&](const QString& archivo, const QString& error) { impreso = error.isEmpty() ? LeerArchivo(archivo).left(5) : error; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return impreso != "<pendiente>"; }, 30000));
    EXPECT_EQ(impreso, "%PDF-");
    QTest::qWait(500);
    EXPECT_FALSE(escucha.hasPendingConnections());
}

TEST_P(PruebaSeguridad, CadaValorEsDatoYCambiaUnSoloDocumento)
{
    struct Caso
    {
        QString folio;
        QString comentario;
    };
    const Caso casos[] = {
        {primero, Carga},
        {"A3-X' OR '1'='1", QString()},
        {"A2-O'BRIEN", "O'Brien \"dijo\" -- ñandú */ {FOLIO}"},
    };
    int autorizadas = Valor("SELECT COUNT(*) FROM Requisiciones_Compra WHERE Rq_Estado = 'AU'").toInt();
    for (const Caso& c : casos) {
        if (c.folio != primero)
            Copiar(c.folio);
        Abrir(c.folio, [&](frmAutorizacion& d) {
            EXPECT_TRUE(EscribirCampo(d.WebBrowser1(), "COMENTARIO_DOCUMENTO", c.comentario));
            d.CmdAutorizado_Click();
        });
        EXPECT_TRUE(g.mensajes.isEmpty()) << g.mensajes.value(0).mensaje.toStdString();
        // A typed {FOLIO} still becomes the folio.
        EXPECT_EQ(Estado(c.folio), QStringLiteral("AU|%1|PRUEBA").arg(QString(c.comentario).replace(QLatin1String("{FOLIO}"), c.folio)));
        EXPECT_EQ(Valor("SELECT COUNT(*) FROM Requisiciones_Compra WHERE Rq_Estado = 'AU'").toInt(), ++autorizadas);
    }
}

TEST_P(PruebaSeguridad, UnValorSueltoQueNoEsNumeroSeRechazaYElParametroDevuelveElEmpalme)
{
    // A text field: a number field of the page would not even hold the text.
    Ejecutar(QStringLiteral("UPDATE Configuracion_Autorizacion SET Ca_Sql_Autoriazion = "
                            "REPLACE(Ca_Sql_Autoriazion, '''{CUENTA_PRESUPUESTAL}''', '{CUENTA_PRESUPUESTAL}')"));
    Abrir(primero, [&](frmAutorizacion& d) {
        EXPECT_TRUE(EscribirCampo(d.WebBrowser1(), "CUENTA_PRESUPUESTAL", "1 OR 1=1"));
        d.CmdAutorizado_Click();
    });
    ASSERT_EQ(g.mensajes.size(), 1);
    EXPECT_TRUE(g.mensajes[0].idError == "ERR-ID:7500059" && g.mensajes[0].estilo == 64 && g.mensajes[0].mensaje.contains("'CUENTA_PRESUPUESTAL'"));
    EXPECT_EQ(Estado(primero), "PE||");

    // The site's own choice: the values go in as typed, and today's text runs.
    Ejecutar(QStringLiteral("INSERT INTO Parametros_Generales (Pg_Cve_Parametro, Pg_Ambito, Pg_Tipo, Pg_Valor) VALUES ('%1', 0, 'B', '1')")
                 .arg(Parametros::SustitucionSinCitar));
    Abrir(primero, [&](frmAutorizacion& d) {
        EXPECT_TRUE(EscribirCampo(d.WebBrowser1(), "COMENTARIO_DOCUMENTO", "O'Brien"));
        d.CmdAutorizado_Click();
    });
    EXPECT_TRUE(conexion->Bitacora().filter("Rq_Comentario_Revision = 'O'Brien'").size() == 1);
    EXPECT_EQ(g.mensajes.last().idError, "ERR-ID:7500028");
}

// A backslash is a character in every literal the server knows, whatever the database's own setting: the typed value
// changes its own document only, stored as typed, or is refused and changes nothing.
TEST_P(PruebaSeguridad, UnaBarraInvertidaEsDatoEnCadaLiteralConCualquierAjusteDelServidor)
{
    if (GetParam()) {
        // Every new session of this database starts with backslash escapes in plain literals.
        Ejecutar("ALTER DATABASE " + Valor("SELECT current_database()") + " SET standard_conforming_strings = off");
        conexion->Perder();
        conexion->Execute("SELECT 1");
        ASSERT_EQ(Valor("SHOW standard_conforming_strings"), "on");
    }
    Publico::Main();
    const QString demo = Valor("SELECT Ca_Sql_Autoriazion FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0001'");
    const QString escape = R"(\', Rq_Estado = 'AU' WHERE Rq_Estado = 'PE' --)";
    const struct
    {
        const char* literal; // where the comment's token stands
        QString valor;
        bool admitido;
    } casos[] = {
        {"'{C}'", R"(\)", true},  {"'{C}'", escape, true},     {"E'{C}'", R"(\)", true},
        {"E'{C}'", escape, true}, {"$c${C}$c$", escape, true}, {"$c${C}$c$", "$c$ || $c$", false},
    };
    int n = 0;
    for (const auto& c : casos) {
        if (!GetParam() && QString(c.literal) != "'{C}'")
            continue;
        QString sentencia = QString(demo).replace("'{COMENTARIO_DOCUMENTO}'", QString(c.literal).replace("{C}", "{COMENTARIO_DOCUMENTO}"));
        Ejecutar("UPDATE Configuracion_Autorizacion SET Ca_Sql_Autoriazion = '" + sentencia.replace("'", "''")
                 + "' WHERE Ca_Cve_Configuracion_Autorizacion = '0001'");
        const QString folio = QStringLiteral("BS-%1").arg(++n);
        Copiar(folio);
        const QStringList antes = TodoElContenido();
        QStringList avisos;
        RevisionDocumento::Autorizar([&](const QString& m, int, const QString&, const QString& id) { avisos << id + "|" + m; }, "0001", "REQUISICIONES_COMPRA",
                                     folio, "*MONTO_AUTORIZADO,CUENTA_PRESUPUESTAL,COMENTARIO_DOCUMENTO",
                                     [&](const QString& campo) { return campo == "COMENTARIO_DOCUMENTO" ? c.valor : QStringLiteral("10"); });
        const QStringList despues = TodoElContenido();
        // Refused: the field named, nothing written.
        EXPECT_EQ(avisos.join('\n').left(15), c.admitido ? "" : "ERR-ID:7500059|") << c.literal << avisos.join('\n').toStdString();
        EXPECT_EQ(Estado(folio), c.admitido ? "AU|" + c.valor + "|PRUEBA" : "PE||") << c.literal;
        // Admitted: the document's row, the decision's row in the log and the log's head.
        EXPECT_EQ((QSet<QString>(despues.begin(), despues.end()) - QSet<QString>(antes.begin(), antes.end())).size(), c.admitido ? 3 : 0) << c.literal;
    }
}

// "; COMMIT" after a configured statement would end the review's own transaction: Probar, the dialog, the bulk run and the
// rejection refuse it, saying why, and the database stays as it was.
TEST_P(PruebaSeguridad, UnaOrdenDeTransaccionEnLaConfiguracionNoEscribeNada)
{
    // Every row, so that the server keeps them, and the inbox its tabs, in order.
    Ejecutar("UPDATE Configuracion_Autorizacion SET Ca_Sql_Autoriazion = Ca_Sql_Autoriazion || '; COMMIT', Ca_Sql_Rechazar = Ca_Sql_Rechazar || ';commit'");
    const QStringList antes = TodoElContenido();
    const QString motivo = "La sentencia contiene la orden de transacción COMMIT y no se ejecutó. Quítela: cada sentencia ya corre en una transacción que "
                           "abre y cierra el componente.";

    Abrir(primero, [&](frmAutorizacion& d) { d.CmdAutorizado_Click(); });
    const AutorizacionEnLote::Resumen lote = Lote("0001", {primero});
    MostrarRechazo("REQUISICIONES_COMPRA", primero, "0001", "Sin presupuesto").cmdAceptar_Click();
    const auto [autorizacion, rechazo] = EnsayarDemo("0001");

    EXPECT_EQ(g.Avisos(),
              (QStringList{"ERR-ID:7500028|16|Autorizar|frmAutorizacion|Verifique la configuración de la autorización\r\n" + motivo,
                           "ERR-ID:7500009|16|Rechazar|frmRechazar|Verifique la configuración del rechazo\r\n" + motivo}));
    EXPECT_TRUE(lote.autorizados.isEmpty() && lote.pendientes.size() == 1
                && lote.pendientes[0].motivo == "Verifique la configuración de la autorización\r\n" + motivo);
    EXPECT_TRUE(autorizacion.error == motivo && rechazo.error == motivo && autorizacion.filas == -1 && rechazo.filas == -1);
    EXPECT_EQ(TodoElContenido(), antes);
    EXPECT_FALSE(conexion->EnTransaccion());
}

// A field of the requester's own, in the justification or opened by the
// folio, would hide the real amount: through the dialog and in bulk, the
// document's own amount is what gets stored.
TEST_P(PruebaSeguridad, UnCampoOcultoEnLosDatosNoCambiaElMontoAutorizado)
{
    const QString campo = "<input type=\"hidden\" id=\"MONTO_AUTORIZADO\" value=\"9999999.99\">";
    const std::pair<QString, QString> casos[]
        = {{"A1-DIALOGO", campo + "<!--"}, {"<!--A2", "-->" + campo + "<!--"}, {"A3-LOTE", campo + "<!--"}, {"<!--A4", "-->" + campo + "<!--"}};
    for (const auto& [folio, justificacion] : casos) {
        Copiar(folio);
        Ejecutar(QStringLiteral("UPDATE Requisiciones_Compra SET Rq_Justificacion = '%1' WHERE Rq_Folio = '%2'").arg(justificacion, folio));
    }
    for (const int i : {0, 1})
        Abrir(casos[i].first, [](frmAutorizacion& d) { d.CmdAutorizado_Click(); });
    const auto lote = Lote("0001", {casos[2].first, casos[3].first});
    EXPECT_TRUE(g.mensajes.isEmpty() && lote.autorizados.size() == 2) << g.mensajes.value(0).mensaje.toStdString();
    EXPECT_EQ(Valor("SELECT COUNT(*) FROM Requisiciones_Compra WHERE Rq_Estado = 'AU' AND Rq_Monto_Autorizado = Rq_Total"
                    " AND Rq_Folio IN ('A1-DIALOGO', '<!--A2', 'A3-LOTE', '<!--A4')"),
              "4");
}

// Markup in a requester's text is shown as that text, and the page keeps
// every element the template made.
TEST_P(PruebaSeguridad, ElMarcadoDelSolicitanteSeMuestraComoTexto)
{
    const QString elementos = "document.body.querySelectorAll('*').length";
    int propios = 0;
    Abrir(primero, [&](frmAutorizacion& d) { propios = d.WebBrowser1().EjecutarSincrono(elementos).toInt(); });
    const char* textos[] = {"<plaintext>",
                            "<iframe src=x <",
                            "'><script>alert(1)</script x='",
                            "<style>*{display:none}</style>",
                            "<meta http-equiv=\"refresh\" content=\"1\">",
                            "<b style=\"position:absolute;top:0\">Total $1.00</b>"};
    for (const char* t : textos) {
        const QString texto = QString::fromUtf8(t);
        Ejecutar(
            QStringLiteral("UPDATE Requisiciones_Compra SET Rq_Justificacion = '%1' WHERE Rq_Folio = '%2'").arg(QString(texto).replace(u'\'', "''"), primero));
        Abrir(primero, [&](frmAutorizacion& d) {
            EXPECT_EQ(d.WebBrowser1().EjecutarSincrono(elementos).toInt(), propios) << t;
            EXPECT_TRUE(d.WebBrowser1().EjecutarSincrono("document.body.textContent").toString().contains(texto)) << t;
        });
    }
    EXPECT_GT(propios, 20);
    EXPECT_TRUE(g.mensajes.isEmpty()) << g.mensajes.value(0).mensaje.toStdString();
}

TEST(MarcadoresSql, CadaValorSeCitaSegunDondeEsta)
{
    constexpr DialectoSql Pg = DialectoSql::PostgreSQL, Ss = DialectoSql::SqlServer, Lite = DialectoSql::SQLite;
    struct Caso
    {
        const char* sentencia;
        const char* valor;
        Modo modo;
        const char* esperado; // nullptr: refused
        DialectoSql dialecto = DialectoSql::Comun;
    };
    const Caso casos[] = {
        {"x = '{V}' AND y = \"{V}\"", "O'Brien \"x\"", Modo::Citar, "x = 'O''Brien \"x\"' AND y = \"O'Brien \"\"x\"\"\""},
        {"x = '{V}' AND y = \"{V}\"", "O'Brien", Modo::Empalmar, "x = 'O'Brien' AND y = \"O'Brien\""},
        {"x = {V} -- {V}\n/* {V} */ 'it''s {V}'", "-12.5", Modo::Citar, "x = -12.5 -- -12.5\n/* -12.5 */ 'it''s -12.5'"},
        {"x = {V}, y = '{V}'", "", Modo::Citar, "x = , y = ''"},
        {"x = {V}", "1 OR 1=1", Modo::Citar, nullptr},
        {"x = {V}", "1,2", Modo::Citar, nullptr},
        {"x = 1-{V}", "-1", Modo::Citar, nullptr},
        {"x = 1 -- {V}\n", "1\nOR 1=1", Modo::Citar, nullptr},
        {"/* {V} */", "*/ OR 1=1", Modo::Citar, nullptr},
        {"/* c */ '{V}'", "*/", Modo::Citar, nullptr},
        // Each server's own literals: E'...' (continued on the next line too) and dollar quotes, brackets.
        {R"(x = '{V}' AND y = E'{V}' AND z = e'{V}')", R"(\')", Modo::Citar, R"(x = '\''' AND y = E'\\''' AND z = e'\\''')", Pg},
        {"x = E'a\\\\{V}' || E'b'\n'c{V}'", "\\", Modo::Citar, "x = E'a\\\\\\\\' || E'b'\n'c\\\\'", Pg},
        {R"(x = E'a\{V}')", "n", Modo::Citar, nullptr, Pg},
        {"x = E'a' {V}", "", Modo::Citar, nullptr, Pg},
        {"x = E'{V}'", R"(\)", Modo::Citar, R"(x = E'\')"},
        {"x = U&'{V}' || u&'{V}'", "O'Brien", Modo::Citar, "x = U&'O''Brien' || u&'O''Brien'", Pg},
        {"x = U&'{V}'", R"(\0041)", Modo::Citar, nullptr, Pg},
        {"x = U&'{V}' UESCAPE '!'", "a!0041", Modo::Citar, nullptr, Pg},
        {"x = aU&'{V}'", R"(\0041)", Modo::Citar, R"(x = aU&'\0041')", Pg},
        {"x = U&'{V}'", R"(\0041)", Modo::Citar, R"(x = U&'\0041')"},
        {"x = $t${V}$t$", R"(it's \ $$ t$)", Modo::Citar, R"(x = $t$it's \ $$ t$$t$)", Pg},
        {"x = $t${V}$t$", "$t", Modo::Citar, nullptr, Pg},
        {"x = $t${V}$t$", "$t$", Modo::Citar, nullptr, Pg},
        {"x = $${V}$$", "$", Modo::Citar, nullptr, Pg},
        {"x = $${V}$$", "a", Modo::Citar, nullptr},
        {"x = a$${V}", "1", Modo::Citar, "x = a$$1", Pg},
        {"/* a /* b */ {V} */", "O'Brien", Modo::Citar, "/* a /* b */ O'Brien */", Pg},
        {"/* a /* b */ {V} */", "O'Brien", Modo::Citar, nullptr},
        {"/* a {V}/ */", "*", Modo::Citar, nullptr},
        {"[{V}] = '{V}'", "a]'b", Modo::Citar, "[a]]'b] = 'a]''b'", Ss},
        {"[{V}]", "a]b", Modo::Citar, nullptr, Lite},
        {"[{V}] = `{V}`", "a`b", Modo::Citar, "[a`b] = `a``b`", Lite},
        {"[{V}]", "a", Modo::Citar, nullptr, Pg},
    };
    for (const Caso& c : casos) {
        const QString s = QString::fromUtf8(c.sentencia);
        if (!c.esperado) {
            EXPECT_THROW(MarcadoresSql::Sustituir(s, "{V}", QString::fromUtf8(c.valor), "V", c.dialecto), ValorNoAdmitido) << c.sentencia;
            continue;
        }
        const QString r = c.modo == Modo::Citar ? MarcadoresSql::Sustituir(s, "{V}", QString::fromUtf8(c.valor), "V", c.dialecto)
                                                : Marcadores::SustituirMarcador(s, "{V}", QString::fromUtf8(c.valor), false);
        EXPECT_EQ(r, QString::fromUtf8(c.esperado)) << c.sentencia;
    }
    // Passes in order: a folio holding a token gets that token's value, quoted too.
    EXPECT_EQ(MarcadoresSql::ExpandirRechazo("'{FOLIO}' {FECHA}", "{OPERADOR}", "O'B", "7", Modo::Citar), "'O''B' 7");
    EXPECT_EQ(MarcadoresSql::Clave("0'1", Modo::Citar), "0''1");
    EXPECT_EQ(MarcadoresSql::Clave("0'1", Modo::Empalmar), "0'1");
}

// A transaction command where a statement starts (anywhere on SQL Server), never inside a literal, an identifier or a comment.
TEST(MarcadoresSql, UnaOrdenDeTransaccionSeEncuentraSoloDondeCorre)
{
    constexpr DialectoSql Pg = DialectoSql::PostgreSQL, Ss = DialectoSql::SqlServer, Lite = DialectoSql::SQLite, Comun = DialectoSql::Comun;
    const struct
    {
        const char* sentencia;
        DialectoSql dialecto;
        const char* orden; // nullptr: none
    } casos[] = {
        {"UPDATE t SET a = 1; COMMIT", Pg, "COMMIT"},
        {"UPDATE t SET a = 1;commit;", Comun, "COMMIT"},
        {"END;", Pg, "END"},
        {"UPDATE t SET a = 1; /* x */ ROLLBACK", Lite, "ROLLBACK"},
        {"BEGIN TRANSACTION", Pg, "BEGIN"},
        {"UPDATE t SET a = 1;\n-- c;\n start /* x */ Transaction", Pg, "START TRANSACTION"},
        {"SET TRANSACTION ISOLATION LEVEL SERIALIZABLE", Pg, "SET TRANSACTION"},
        {"UPDATE t SET a = 1; PREPARE TRANSACTION 'x'", Pg, "PREPARE TRANSACTION"},
        {R"(UPDATE t SET fin = 'COMMIT'; SELECT "commit" FROM BEGIN_X -- ; COMMIT)", Pg, nullptr},
        {"UPDATE t SET transaction = 1; SELECT savepoint FROM t", Pg, nullptr},
        {R"(UPDATE t SET a = $$; COMMIT$$ || E'\'; COMMIT')", Pg, nullptr},
        {R"(UPDATE t SET a = E'\'; COMMIT')", Comun, "COMMIT"},
        {"UPDATE t SET a = 1 COMMIT TRAN", Ss, "COMMIT"},
        {"UPDATE t SET a = 1 BEGIN TRAN", Ss, "BEGIN TRAN"},
        {"IF @@TRANCOUNT > 0 BEGIN UPDATE [commit] SET [end] = 1; DECLARE @commit INT; END", Ss, nullptr},
    };
    for (const auto& c : casos)
        EXPECT_EQ(MarcadoresSql::OrdenDeTransaccion(QString::fromUtf8(c.sentencia), c.dialecto).value_or("-"), c.orden ? c.orden : "-") << c.sentencia;
}

TEST_P(PruebaSeguridad, LaSesionDiceQuienEsElOperadorYNuncaLaContrasena)
{
    // This database was not made by --crear-demo, and no operator has the account yet.
    const QString destino = GetParam() ? cadena : DestinoBaseDatos();
    const QString cuenta = GetParam() ? Valor("SELECT CURRENT_USER") : orvinda::IdentidadOperador::CuentaSistema();
    auto [codigo, salida] = Orvinda({"--db", destino, "--nivel", "9", "--desatendido"});
    const QString sinCuenta = QStringLiteral("MSG ERR-ID:9900007 estilo=16 titulo=\"Orvinda\" modulo=ORVINDA texto=\"La cuenta \"%1\" no está asociada");
    EXPECT_TRUE(codigo == 1 && salida.contains(sinCuenta.arg(cuenta))) << salida.toStdString();

    // Mapped: the level is the operator's, whatever the command line says.
    Ejecutar(QStringLiteral("UPDATE Operadores SET Op_Cuenta = '%1' WHERE Op_Cve_Operador = 'CAPTURA'").arg(cuenta));
    std::tie(codigo, salida) = Orvinda({"--db", destino, "--operador", "ADMIN", "--nivel", "9", "--captura", carpeta.filePath("c.png")});
    EXPECT_TRUE(codigo == 0 && salida.contains("--operador y --nivel no se aplican: la base no es de demostración; operador CAPTURA, nivel 3"))
        << salida.toStdString();

    // A password is never shown on stderr, in the trace or in a message, blanks
    // and braces included, given on the command line or in a private file: on
    // SQLite a server that cannot be reached, on PostgreSQL the same one, which opens.
    const QString sinClave = GetParam() ? cadena : "DRIVER={Controlador Inexistente};SERVER=127.0.0.1;UID=u";
    const QString uid = GetParam() ? "UID=rm640" : "UID=u";
    const struct
    {
        QString clave;
        bool enArchivo;
        QString oculta;
    } claves[] = {
        {";PWD=Zorro Plata42", false, ";PWD=***"},
        {";Password={Ma;pa}}che 7}", false, ";Password=***"},
        {";PWD=Zorro Plata42;", true, ";PWD=***;"},
    };
    for (const auto& c : claves) {
        QString destino = sinClave + c.clave;
        if (c.enArchivo)
            destino = ConexionPrivada("conexion", destino);
        std::tie(codigo, salida) = Orvinda({"--db", destino, "--captura", carpeta.filePath("c.png")});
        EXPECT_TRUE(codigo == (GetParam() ? 0 : 1) && salida.contains(uid + c.oculta)) << salida.toStdString();
        for (const char* trozo : {"Zorro", "Plata42", "Ma;pa", "che 7"})
            EXPECT_FALSE(salida.contains(trozo)) << trozo << salida.toStdString();
    }
}

// On a server the operator is the login: a role the session switches to, through the environment or the connection
// string, is not.
TEST_P(PruebaSeguridad, ElOperadorEsElInicioDeSesionAunqueLaSesionCambieDeRol)
{
    if (!GetParam())
        GTEST_SKIP() << "los roles son del servidor";
    const QString base = Valor("SELECT current_database()"), login = "revisor_" + base, rol = "finanzas_" + base;
    for (const char* s : {"CREATE ROLE {L} LOGIN", "CREATE ROLE {R} NOLOGIN", "GRANT {R} TO {L}", "GRANT SELECT ON ALL TABLES IN SCHEMA public TO {L}, {R}",
                          "UPDATE Operadores SET Op_Cuenta = '{L}' WHERE Op_Cve_Operador = 'CAPTURA'",
                          "UPDATE Operadores SET Op_Cuenta = '{R}' WHERE Op_Cve_Operador = 'DFINANZAS'"})
        Ejecutar(QString(s).replace("{L}", login).replace("{R}", rol));
    const struct
    {
        QString cadena;
        QByteArray entorno; // PGOPTIONS
    } casos[] = {
        {QString(cadena).replace("UID=rm640", "UID=" + login), "-crole=" + rol.toUtf8()},
        {QString(cadena).replace("UID=rm640", "UID=" + login) + ";Pqopt={options=-crole=" + rol + "}", {}},
        {QString(cadena).replace("UID=rm640", "UID=" + login) + ";ConnSettings=SET ROLE " + rol, {}},
    };
    for (const auto& c : casos) {
        qputenv("PGOPTIONS", c.entorno);
        std::unique_ptr<orvinda::Conexion> sesion = orvinda::Conexion::Abrir(c.cadena);
        qunsetenv("PGOPTIONS");
        // The switch itself took place.
        EXPECT_EQ(sesion->Execute("SELECT CURRENT_USER").Fields(0).Texto(), rol) << c.cadena.toStdString();
        const orvinda::IdentidadOperador::Sesion s = orvinda::IdentidadOperador::Resolver(*sesion, QString(), -1);
        EXPECT_EQ(QStringLiteral("%1 %2 %3").arg(s.cuenta, s.operador).arg(s.nivel), login + " CAPTURA 3") << c.cadena.toStdString();
    }
}

// A folio goes from the database through the list, the page and the statement to the summary as it is stored, whatever
// it holds: each odd one is authorized through the dialog and in bulk, taken from the list, and changes its own document.
TEST_P(PruebaSeguridad, CadaFolioViajaIntactoDeLaBaseALaSentencia)
{
    const auto c = [](char16_t u) { return QString(QChar(u)); };
    const QString folios[]
        = {c(0xFEFF) + "BOM", "NO" + c(0xFFFE) + "CAR", "MARCA-e" + c(0x0301), "DIR" + c(0x200F) + c(0x202E) + "-1", "CTL" + c(0x0001) + "-2"};
    for (const QString& f : folios)
        for (const char* via : {"-D", "-L"})
            Copiar(f + via);
    Publico::Main();
    frmRM640& bandeja = frmRM640::Instancia();
    bandeja.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bandeja.Cargado(); }, 10000));
    orvinda::ListView& lista = bandeja.lvInsidencias(0);
    for (const QString& f : folios) {
        EXPECT_EQ(EsperarLista(lista), "");
        ASSERT_TRUE(lista.SeleccionarTexto(f + "-D")) << f.toStdString();
        EXPECT_EQ(lista.SelectedItem(), f + "-D");
        AlAbrirse<frmAutorizacion>([](frmAutorizacion& d) {
            if (EsperarPagina(d.WebBrowser1(), "MONTO_AUTORIZADO"))
                d.CmdAutorizado_Click();
        });
        bandeja.lvInsidencias_DblClick(0);
        EXPECT_TRUE(Estado(f + "-D").startsWith("AU|")) << f.toStdString() << g.Avisos().join('\n').toStdString();
    }
    EXPECT_EQ(EsperarLista(lista), "");
    QStringList enLote;
    for (const QString& f : folios) {
        ASSERT_TRUE(lista.SeleccionarTexto(f + "-L"));
        enLote += lista.SelectedItems();
    }
    const AutorizacionEnLote::Resumen r = Lote("0001", enLote);
    EXPECT_EQ(r.autorizados, enLote);
    for (const QString& f : folios)
        EXPECT_TRUE(Estado(f + "-L").startsWith("AU|")) << f.toStdString();
    EXPECT_TRUE(g.mensajes.isEmpty()) << g.Avisos().join('\n').toStdString();
    // The decision log keeps each folio as it is, and its chain checks clean.
    QStringList anotados;
    orvinda::LecturaExacta::Recorrer(conexion->BaseDatos(), "SELECT Bd_Folio FROM Bitacora_Decisiones WHERE Bd_Decision = 'AU'", [&](const QStringList& fila) {
        anotados << fila[0];
        return true;
    });
    QStringList esperados;
    for (const QString& f : folios)
        esperados << f + "-D" << f + "-L";
    std::sort(anotados.begin(), anotados.end());
    std::sort(esperados.begin(), esperados.end());
    EXPECT_EQ(anotados, esperados);
    const auto cadena = orvinda::VerificacionBitacora::Verificar(*conexion);
    EXPECT_TRUE(cadena.Integra()) << cadena.Informe().toStdString();
}

TEST_P(PruebaSeguridad, UnAtajoMantenidoAutorizaSoloLaSeleccion)
{
    for (const char* f : {"H-1", "H-2", "H-3", "H-4"})
        Copiar(f);
    Publico::Main();
    frmRM640& bandeja = frmRM640::Instancia();
    bandeja.show();
    bandeja.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bandeja.Cargado(); }, 10000));
    orvinda::ListView& lista = bandeja.lvInsidencias(0);
    EXPECT_EQ(EsperarLista(lista), "");
    ASSERT_TRUE(lista.SeleccionarTexto("H-3"));
    ASSERT_TRUE(lista.SeleccionarTexto("H-2"));
    lista.selectionModel()->select(lista.currentIndex().siblingAtRow(lista.currentIndex().row() + 1), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(lista.SelectedItems(), (QStringList{"H-2", "H-3"}));
    lista.setFocus();
    // Ctrl+Shift+A held down: one press, then the keyboard's repeats, some
    // arriving while the run is on, some after the list was read again.
    const auto pulsar = [&](bool repetida) {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, "A", repetida);
        if (!qt_sendShortcutOverrideEvent(&lista, e.timestamp(), Qt::Key_A, e.modifiers(), "A", repetida))
            QCoreApplication::sendEvent(&lista, &e);
    };
    pulsar(false);
    // The kind's required values are asked for once; accepted, the run starts.
    if (auto* forma = bandeja.findChild<frmValoresLote*>())
        forma->accept();
    for (int i = 0; i < 40; ++i) {
        pulsar(true);
        QTest::qWait(25);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !g.mensajes.isEmpty(); }, 60000));
    QTest::qWait(200);
    // One run, one summary.
    EXPECT_EQ(g.Avisos().size(), 1) << g.Avisos().join('\n').toStdString();
    for (const char* f : {"H-1", "H-4"})
        EXPECT_TRUE(Estado(f).startsWith("PE|")) << f;
    for (const char* f : {"H-2", "H-3"})
        EXPECT_TRUE(Estado(f).startsWith("AU|")) << f << g.Avisos().join('\n').toStdString();
}
