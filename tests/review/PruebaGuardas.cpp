#include "comun/EnCadaBase.h"
#include "comun/EntornoPrueba.h"
#include "comun/ImpresorGrabador.h"
#include "editor/frmConfiguracion.h"
#include "editor/frmEnsayo.h"
#include "host/controles/Controles.h"
#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/SSTab.h"
#include "host/controles/WebBrowser.h"
#include "host/controles/txtVEX.h"
#include "host/servicios/TablaClases.h"
#include "inbox/frmRM640.h"
#include "inbox/frmValoresLote.h"
#include "publico/Publico.h"
#include "review/RevisionDocumento.h"
#include "review/frmAutorizacion.h"
#include "review/frmRechazar.h"
#include "servicios/ImpresorOrvinda.h"
#include "servicios/Mensajero.h"
#include "servicios/Traza.h"
#include "servicios/UtileriasOrvinda.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

using namespace rm640;

namespace {

// The demo, on SQLite and on PostgreSQL.
class PruebaGuardas : public EnCadaBase<EntornoPrueba>
{
protected:
    QStringList Pendientes(const QString& donde)
    {
        QStringList r;
        QSqlQuery q(conexion->BaseDatos());
        q.exec("SELECT r.Rq_Folio FROM Requisiciones_Compra r JOIN Empleados e ON e.Em_Cve_Empleado = r.Em_Cve_Empleado WHERE r.Rq_Estado = 'PE' AND " + donde
               + " ORDER BY 1");
        while (q.next())
            r << q.value(0).toString();
        return r;
    }
};
INSTANTIATE_TEST_SUITE_P(Bases, PruebaGuardas, ::testing::Values(false, true), NombreDeBase);

} // namespace

// A copy of the first configuration with three slips: the authorization lost
// its folio condition, the required field is misspelt, another is in lower
// case. Verificar puts the three errors first, Guardar asks and No saves
// nothing; saved anyway, the statement would change every pending document,
// so the dialog and the bulk run undo it and leave every document pending.
TEST_P(PruebaGuardas, UnaConfiguracionEstropeadaNoLlegaALaCola)
{
    Publico::Main();
    frmConfiguracion& f = frmConfiguracion::Instancia();
    f.Cargar();
    f.txtClave().setTexto("0001");
    f.txtClave_Enter();
    f.Controles_BotonExtra();
    const QString clave = f.txtClave().Texto();
    f.txtProcedimiento2().setText(f.txtProcedimiento2().Text().replace("WHERE Rq_Folio = '{FOLIO}' AND ", "WHERE "));
    const QString campos = "*MONTO_AUTORIZAD,cuenta_presupuestal,COMENTARIO_DOCUMENTO";
    f.txtCampos1().setTexto(campos);
    // The strip, Verificar and Guardar give one verdict, in the same words.
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.lblAvisos().text().startsWith("3 error(es) y 1 aviso(s)"); })) << f.lblAvisos().text().toStdString();
    const QString tira = f.lblAvisos().toolTip();

    f.Verificar();
    ASSERT_EQ(g.mensajes.size(), 1);
    const QStringList verificar = g.mensajes[0].mensaje.split('\n');
    EXPECT_EQ(g.mensajes[0].mensaje, tira);
    EXPECT_TRUE(g.mensajes[0].estilo == 16 && g.mensajes[0].graves == verificar.mid(0, 4).join('\n').size());
    EXPECT_TRUE(verificar.value(0).startsWith("Errores (3):") && verificar.value(4) == "Avisos (1):") << g.mensajes[0].mensaje.toStdString();
    EXPECT_TRUE(verificar.value(1).startsWith("Campos a recuperar: 'MONTO_AUTORIZAD' no es una columna")
                && verificar.value(2).startsWith("Campos a recuperar: 'cuenta_presupuestal' no está en mayúsculas")
                && verificar.value(3).startsWith("SQL autorización: no menciona {FOLIO}"));
    EXPECT_TRUE(f.lblAvisos().text().startsWith("3 error(es) y 1 aviso(s)") && f.lblAvisos().styleSheet().contains("rgb(180, 30, 30)"));

    // Probar shows what would be undone, in red, with the count and the table.
    if (!GetParam()) {
        frmEnsayo ensayo(f.ConfiguracionEnPantalla(), &f);
        ensayo.show();
        ASSERT_TRUE(EsperarPagina(ensayo.Navegador(), ensayo.Folios().value(0)));
        ensayo.EnsayarAutorizacion();
        const QTextCursor linea = ensayo.findChild<QPlainTextEdit*>("txtInforme")->document()->find("Filas afectadas");
        EXPECT_TRUE(linea.block().text().startsWith("Filas afectadas: 120 en Requisiciones_Compra: más que el límite por documento, 1"))
            << ensayo.Informe().toStdString();
        EXPECT_EQ(linea.charFormat().foreground().color(), frmEnsayo::ColorGrave);
    }

    const QString antes = Valor("SELECT COUNT(*) FROM Configuracion_Autorizacion");
    g.respuestasPreguntas = {7};
    bool esNuevo = true;
    f.Controles_Guardar(esNuevo);
    ASSERT_EQ(g.preguntas.size(), 1);
    const QString pregunta = g.preguntas[0].mensaje;
    EXPECT_EQ(pregunta, "La configuración tiene 3 errores:\n" + verificar.mid(1, 3).join('\n') + "\n¿Guardarla de todos modos?");
    EXPECT_TRUE(g.LlamadasA("Preguntar") == QStringList{"Preguntar(ERR-ID:7500095,7,6)"} && !f.Guardado);
    EXPECT_EQ(Valor("SELECT COUNT(*) FROM Configuracion_Autorizacion"), antes);
    f.Controles_Guardar(esNuevo);
    ASSERT_TRUE(f.Guardado);

    // 120 requisitions wait; on PostgreSQL the amount's token, never filled, is no number and the server refuses it first.
    const QStringList contenido = TodoElContenido();
    const QString motivo = GetParam() ? "Verifique la configuración de la autorización\r\nERROR: invalid input syntax for type numeric"
                                      : "La autorización cambiaría 120 filas y el límite por documento es 1 (parámetro general RM640_FILAS_POR_DOCUMENTO)";
    QString dialogo;
    RevisionDocumento::Autorizar([&](const QString& m, int, const QString&, const QString& id) { dialogo += id + "|" + m; }, clave, "REQUISICIONES_COMPRA",
                                 primero, campos, [](const QString&) { return QStringLiteral("1"); });
    EXPECT_TRUE(dialogo.startsWith(QString(GetParam() ? "ERR-ID:7500028|" : "ERR-ID:7500062|") + motivo)) << dialogo.toStdString();
    const auto lote = Lote(clave, Pendientes("1 = 1").mid(0, 2));
    EXPECT_EQ(lote.pendientes.size(), 2);
    for (const auto& p : lote.pendientes)
        EXPECT_TRUE(p.motivo.startsWith(motivo)) << p.motivo.toStdString();
    EXPECT_EQ(TodoElContenido(), contenido);
}

// Nobody decides on their own request: the dialog refuses to authorize and
// to ask for a rejection's comment, the bulk run leaves it pending and
// authorizes the others.
TEST_P(PruebaGuardas, NadieDecideSobreSuPropiaSolicitud)
{
    g.operador = "CAPTURA";
    Publico::Main();
    const QString propia = Pendientes("e.Op_Cve_Operador = 'CAPTURA'").value(0);
    const QString ajena = Pendientes("e.Op_Cve_Operador IS NULL").value(0);
    ASSERT_FALSE(propia.isEmpty() || ajena.isEmpty());
    const QStringList antes = Contenido("Requisiciones_Compra", "Rq_Folio");

    frmAutorizacion& d = MostrarRequisicionDemo(propia);
    d.CmdAutorizado_Click();
    RevisionDocumento::Renderizar("0001", propia); // as the inbox renders it before opening the dialog
    d.CmdRechazar_Click();
    const QString por
        = "el documento " + propia + ": lo solicitó usted (operador CAPTURA) y nadie decide sobre su propia solicitud. Otro operador debe hacerlo.";
    EXPECT_EQ(g.Avisos(),
              (QStringList{"ERR-ID:7500065|48|Autorizar|frmAutorizacion|No puede autorizar " + por,
                           "ERR-ID:7500066|48|Rechazar|frmAutorizacion|No puede rechazar " + por}));
    EXPECT_TRUE(d.isVisible() && !frmRechazar::ExisteInstancia() && Contenido("Requisiciones_Compra", "Rq_Folio") == antes);
    d.cmdCancelar_Click();

    // Probar says so too, for the author who asked for the document.
    frmConfiguracion& f = frmConfiguracion::Instancia();
    f.Cargar();
    f.txtClave().setTexto("0001");
    f.txtClave_Enter();
    frmEnsayo ensayo(f.ConfiguracionEnPantalla(), &f);
    ASSERT_TRUE(ensayo.MostrarFolio(ensayo.Folios().indexOf(propia)));
    ensayo.EnsayarRechazo();
    EXPECT_TRUE(ensayo.Informe().endsWith("No puede rechazar " + por)) << ensayo.Informe().toStdString();

    const auto r = Lote("0001", {propia, ajena});
    EXPECT_TRUE(r.autorizados == QStringList{ajena} && r.pendientes.size() == 1 && r.pendientes[0].motivo == "No puede autorizar " + por);
    EXPECT_EQ(Valor("SELECT Rq_Estado FROM Requisiciones_Compra WHERE Rq_Folio = '" + propia + "'"), "PE");
}

// The demo's amount keeps what the reviewer typed: letters or an exponent are
// refused naming the field, thousands commas are taken.
TEST_P(PruebaGuardas, ElImporteTecleadoEnLaDemoQuedaComoSeEscribio)
{
    Publico::Main();
    const QString folio = Pendientes("e.Op_Cve_Operador IS NULL").value(0);
    ASSERT_FALSE(folio.isEmpty());
    frmAutorizacion& d = MostrarRequisicionDemo(folio);
    orvinda::WebBrowser& w = d.WebBrowser1();
    const QString campo = "document.getElementById('MONTO_AUTORIZADO')";
    for (const QString tecleado : {"100 mil", "1e3", "1,234.5"}) {
        w.EjecutarSincrono(campo + ".value = ''; " + campo + ".focus(); 1");
        QTest::keyClicks(w.focusProxy(), tecleado);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.EjecutarSincrono(campo + ".value").toString() == tecleado; }));
        d.CmdAutorizado_Click();
        const QStringList avisos = g.TomarAvisos();
        const QString monto = Valor("SELECT COALESCE(Rq_Monto_Autorizado, 0) FROM Requisiciones_Compra WHERE Rq_Folio = '" + folio + "'");
        if (tecleado.contains(','))
            EXPECT_TRUE(avisos.isEmpty() && monto.toDouble() == 1234.5) << avisos.join('\n').toStdString();
        else
            EXPECT_TRUE(avisos.size() == 1 && avisos[0].startsWith("ERR-ID:7500064|") && avisos[0].contains("'MONTO_AUTORIZADO' espera un importe") && monto.toDouble() == 0)
                << tecleado.toStdString() << avisos.join('\n').toStdString();
    }
}

// Another shell authorizes the document this one shows: this one's comment,
// handed to the shell's real service, goes with its undone decision. On
// time, the same service keeps it.
TEST_P(PruebaGuardas, QuienLlegaTardeNoDejaComentario)
{
    orvinda::Conexion* c = conexion.get();
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Utilerias::IdPrograma),
                                    [c] { return std::make_unique<orvinda::UtileriasOrvinda>(*c, "PRUEBA"); });
    Publico::Main();
    for (const bool tarde : {true, false}) {
        const QString folio = Pendientes("1 = 1").value(0);
        frmAutorizacion& d = MostrarRequisicionDemo(folio);
        if (tarde) {
            QProcess otro;
            otro.start(QCoreApplication::applicationDirPath() + "/segundo_operador", {DestinoBaseDatos(), "autorizar", folio, carpeta.filePath("otro.txt")});
            ASSERT_TRUE(otro.waitForFinished(120000) && otro.exitCode() == 0) << LeerArchivo(carpeta.filePath("otro.txt")).toStdString();
        }
        ASSERT_TRUE(EscribirCampo(d.WebBrowser1(), "COMENTARIO_DOCUMENTO", "Visto bueno"));
        d.CmdAutorizado_Click();
        EXPECT_EQ(Valor("SELECT COUNT(*) FROM Comentarios_Documento WHERE Cd_Operador = 'PRUEBA' AND Cd_Folio = '" + folio + "'"), tarde ? "0" : "1");
        EXPECT_EQ(Valor("SELECT Rq_Oper_Autoriza FROM Requisiciones_Compra WHERE Rq_Folio = '" + folio + "'"), tarde ? "OPERADOR2" : "PRUEBA");
        EXPECT_EQ(g.TomarAvisos().size(), tarde ? 1 : 0);
    }
}

// Three requisitions selected: the inbox says how many and what they add up
// to, the command asks with both, and No runs nothing.
TEST_P(PruebaGuardas, ElLoteDiceCuantosYCuantoAntesDeAutorizar)
{
    Publico::Main();
    frmRM640& bandeja = frmRM640::Instancia();
    bandeja.show();
    Activar(bandeja);
    orvinda::ListView& lista = bandeja.lvInsidencias(0);
    ASSERT_EQ(EsperarLista(lista), "");
    for (int fila : {0, 1, 2})
        lista.selectionModel()->select(lista.model()->index(fila, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString suma
        = QLocale(QLocale::English, QLocale::UnitedStates)
              .toString(Valor("SELECT SUM(Rq_Total) FROM Requisiciones_Compra WHERE Rq_Folio IN ('" + lista.SelectedItems().join("', '") + "')").toDouble(),
                        'f', 2);
    EXPECT_EQ(bandeja.findChild<QLabel*>("lblSeleccion")->text(), "3 seleccionados · $ " + suma);

    const QStringList antes = TodoElContenido();
    g.respuestasPreguntas = {7};
    bandeja.AutorizarSeleccionados();
    ASSERT_EQ(g.preguntas.size(), 1);
    EXPECT_EQ(g.preguntas[0].mensaje, "¿Autorizar 3 requisiciones de compra por $ " + suma + "?");
    EXPECT_EQ(g.LlamadasA("Preguntar"), QStringList{"Preguntar(ERR-ID:7500072,6,6)"});
    EXPECT_TRUE(TodoElContenido() == antes && !AutorizacionEnLote::EnCurso());
}

// Purchase orders need their budget line, which no page proposes: asked
// for once, it goes to the orders whose page leaves it empty, never over an
// order's own. An empty form leaves those orders pending, selected, marked
// and summed up under one reason. The shell's printer stops nobody: the
// status area tells where the files went, or in red that one failed.
TEST_P(PruebaGuardas, ElLoteCompletaLosObligatoriosYSenalaLosPendientes)
{
    orvinda::Traza traza(carpeta.filePath("traza.txt"));
    orvinda::Mensajero mensajero(&traza, true);
    orvinda::Conexion* c = conexion.get();
    const QString pdf = carpeta.filePath("pdf");
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Impresor::IdPrograma),
                                    [&, c] { return std::make_unique<orvinda::ImpresorOrvinda>(*c, &mensajero, &traza, pdf); });
    QStringList ordenes;
    for (QSqlQuery q("SELECT Oc_Folio FROM Ordenes_Compra WHERE Oc_Estado = 'PE' ORDER BY 1", conexion->BaseDatos()); q.next() && ordenes.size() < 3;)
        ordenes << q.value(0).toString();
    ASSERT_EQ(ordenes.size(), 3);
    Ejecutar("UPDATE Ordenes_Compra SET Oc_Partida_Presupuestal = NULL WHERE Oc_Estado = 'PE'");
    Ejecutar("UPDATE Ordenes_Compra SET Oc_Partida_Presupuestal = '7000-99' WHERE Oc_Folio = '" + ordenes[0] + "'");
    // The template query proposes the order's own budget line, when it has one.
    QSqlQuery q(conexion->BaseDatos());
    q.prepare("UPDATE Configuracion_Autorizacion SET Ca_Sql_Plantilla = ? WHERE Ca_Cve_Configuracion_Autorizacion = '0002'");
    q.addBindValue(Valor("SELECT Ca_Sql_Plantilla FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0002'")
                       .replace("'' AS PARTIDA_PRESUPUESTAL", "COALESCE(o.Oc_Partida_Presupuestal, '') AS PARTIDA_PRESUPUESTAL"));
    ASSERT_TRUE(q.exec());

    Publico::Main();
    frmRM640& bandeja = frmRM640::Instancia();
    bandeja.show();
    Activar(bandeja);
    bandeja.SSTab().setTab(1);
    orvinda::ListView& lista = bandeja.lvInsidencias(1);
    ASSERT_EQ(EsperarLista(lista), "");
    ASSERT_TRUE(lista.Restaurar({ordenes, ordenes[0]}, true));
    const QString motivo = RevisionDocumento::CampoObligatorio("PARTIDA_PRESUPUESTAL");
    const struct
    {
        QString valor;
        QString resumen;
        QStringList seleccionados;
    } pasos[] = {
        {"",
         "48|Autorizar seleccionados|frmRM640|Autorizados: 1 de 3.\nQuedan pendientes:\n2 documentos: " + motivo + "\n   (" + ordenes[1] + ", " + ordenes[2]
             + ")",
         ordenes.mid(1)},
        {" 5100-01 ", "64|Autorizar seleccionados|frmRM640|Autorizados: 2 de 2.", {}},
    };
    for (const auto& paso : pasos) {
        g.mensajes.clear();
        bandeja.AutorizarSeleccionados();
        auto* forma = bandeja.findChild<frmValoresLote*>();
        ASSERT_TRUE(forma && forma->isVisible() && forma->Caja("PARTIDA_PRESUPUESTAL"));
        EXPECT_EQ(forma->Caja("PARTIDA_PRESUPUESTAL")->accessibleName(), "Partida presupuestal");
        forma->Caja("PARTIDA_PRESUPUESTAL")->setText(paso.valor);
        forma->accept();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !g.mensajes.isEmpty() && !lista.Llenando(); }, 120000));
        EXPECT_EQ(g.Avisos(), QStringList{"ERR-ID:7500070|" + paso.resumen});
        if (paso.seleccionados.isEmpty())
            continue;
        QStringList seleccionados = lista.SelectedItems();
        seleccionados.sort();
        EXPECT_EQ(seleccionados, paso.seleccionados);
        for (const QString& folio : paso.seleccionados) {
            const QModelIndex celda = lista.model()->index(lista.Modelo().BuscarMostrada(folio), 2);
            EXPECT_TRUE(celda.data(Qt::ToolTipRole).toString().startsWith("Quedó pendiente: " + motivo)) << folio.toStdString();
        }
    }
    EXPECT_EQ(Valor("SELECT COUNT(*) FROM Ordenes_Compra WHERE Oc_Folio IN ('" + ordenes.join("', '") + "') AND Oc_Estado = 'AU'"), "3");
    EXPECT_EQ(Valor("SELECT Oc_Partida_Presupuestal FROM Ordenes_Compra WHERE Oc_Folio = '" + ordenes[0] + "'"), "7000-99");
    EXPECT_EQ(Valor("SELECT COUNT(*) FROM Ordenes_Compra WHERE Oc_Partida_Presupuestal = '5100-01'"), "2");
    // No box per document: the trace holds the files written and no message.
    EXPECT_FALSE(LeerArchivo(carpeta.filePath("traza.txt")).contains("MSG "));
    EXPECT_EQ(bandeja.Estado(), "2 documentos se guardaron en: " + QDir::toNativeSeparators(pdf));
    bandeja.Controles().cmdAccionAuxiliar().click();
    EXPECT_EQ(g.LlamadasA("AbrirArchivo"), QStringList{"AbrirArchivo(" + pdf + ")"});

    // One document, printed or not, from the review dialog's road.
    QStringList impresiones;
    int vivos = 0;
    for (const QString& falla : QStringList{"", "La impresora no responde"}) {
        orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Impresor::IdPrograma),
                                        [&, falla] { return std::make_unique<ImpresorGrabador>(impresiones, vivos, falla); });
        RevisionDocumento::Autorizacion hecha;
        hecha.ejecutada = true;
        RevisionDocumento::Concluir([&](const QString& m, int, const QString&, const QString&) { ADD_FAILURE() << m.toStdString(); }, hecha, "0002",
                                    ordenes[0]);
        EXPECT_EQ(bandeja.Estado(),
                  falla.isEmpty() ? "El documento " + ordenes[0] + " se guardó en: " + ordenes[0] + ".pdf"
                                  : "No se pudo imprimir el documento " + ordenes[0] + ": " + falla);
        EXPECT_EQ(bandeja.Controles().cmdAccionAuxiliar().isVisibleTo(&bandeja), falla.isEmpty());
        EXPECT_EQ(bandeja.Controles().findChild<QLabel*>("lblAuxiliar")->styleSheet().contains("#9b1414"), !falla.isEmpty());
    }
    EXPECT_EQ(g.Avisos().size(), 1);
}

namespace {

// A kind of document whose page has a field for each rule a page may state.
class PruebaReglasDePagina : public EntornoPrueba
{
protected:
    void SetUp() override
    {
        EntornoPrueba::SetUp();
        orvinda::ServidorPaginas::Instalar();
        g.parametros["GEN_URL"] = "orvinda://web";
        Ejecutar("CREATE TABLE Docs (Folio TEXT PRIMARY KEY, Estado TEXT, Monto TEXT, Fecha TEXT, Clave TEXT, Nota TEXT)");
        ASSERT_TRUE(
            Configuracion("0100",
                          {{"Ca_Tabla", "DOCS"},
                           {"Ca_Campos_Autorizar", Campos},
                           {"Ca_Sql_Plantilla", "SELECT Folio AS FOLIO, '' AS MONTO, '' AS FECHA, '' AS CLAVE, '' AS NOTA FROM Docs WHERE Folio = '{FOLIO}'"},
                           {"Ca_Sql_Autoriazion",
                            "UPDATE Docs SET Estado = 'AU', Monto = '{MONTO}', Fecha = '{FECHA}', Clave = '{CLAVE}', Nota = '{NOTA}'"
                            " WHERE Folio = '{FOLIO}' AND Estado = 'PE'"}}));
        Publico::Main();
    }

    frmAutorizacion& Mostrar()
    {
        Ejecutar("DELETE FROM Docs");
        Ejecutar("INSERT INTO Docs (Folio, Estado) VALUES ('D-1', 'PE')");
        frmAutorizacion::Unload();
        frmAutorizacion& d = frmAutorizacion::Load();
        d.setPlantilla("<div id=\"prueba\"><input id=\"MONTO\" type=\"number\" step=\"0.01\" min=\"0\" value=\"10.00\">"
                       "<input id=\"FECHA\" type=\"date\" min=\"2026-01-01\" max=\"2026-12-31\" value=\"2026-06-01\">"
                       "<input id=\"CLAVE\" pattern=\"[A-Z]+-[0-9]+\" title=\"letras mayúsculas, un guion y números, como ABC-12\" value=\"ABC-1\">"
                       "<input id=\"NOTA\" required maxlength=\"10\" value=\"Revisada\"></div>");
        d.setTabla("DOCS");
        d.setFolio("D-1");
        d.setCampos(Campos);
        d.setClave("0100");
        d.show();
        EXPECT_TRUE(EsperarPagina(d.WebBrowser1(), "id=\"prueba\""));
        return d;
    }

    // Typed key by key, as the reviewer types, into a field whose text is
    // then no number: a number field drops letters and blanks as they are
    // typed, and a program that sets text there leaves it empty.
    static void Teclear(orvinda::WebBrowser& w, const QString& campo, const QString& texto)
    {
        const QString elemento = "document.getElementById('" + campo + "')";
        w.EjecutarSincrono(elemento + ".value = ''; " + elemento + ".focus(); 1");
        QTest::keyClicks(w.focusProxy(), texto);
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.EjecutarSincrono(elemento + ".validity.badInput").toBool(); }));
    }

    static inline const QString Campos = "*MONTO,FECHA,CLAVE,NOTA";
};

} // namespace

// Each value against its field's own rules: refused, with the field named,
// focused and nothing run; or accepted and written.
TEST_F(PruebaReglasDePagina, CadaValorEscritoCumpleLasReglasDeSuCampo)
{
    struct Caso
    {
        const char* campo;
        QString valor;
        bool teclear;
        QString espera; // empty: accepted
    };
    const Caso casos[] = {
        {"MONTO", "100 mil", false, "obligatorio"},
        {"MONTO", "12e", true, "espera un número, como 1234.56: sin separadores de miles, letras ni espacios"},
        {"MONTO", "1e3", false, ""},
        {"MONTO", "12.345", false, "espera un número con 2 decimales como máximo"},
        {"MONTO", "-5", false, "espera un valor de 0 o más"},
        {"MONTO", "", false, "obligatorio"},
        {"FECHA", "2027-01-15", false, "espera una fecha del 2026-01-01 al 2026-12-31"},
        {"CLAVE", "abc-1", false, "espera letras mayúsculas, un guion y números, como ABC-12"},
        {"CLAVE", "XYZ-42", false, ""},
        {"NOTA", "", false, "es obligatorio en la página y está vacío"},
        {"NOTA", "Sin observaciones", false, "admite 10 caracteres como máximo y tiene 17"},
    };
    for (const Caso& c : casos) {
        frmAutorizacion& d = Mostrar();
        if (c.teclear)
            Teclear(d.WebBrowser1(), c.campo, c.valor);
        else
            ASSERT_TRUE(EscribirCampo(d.WebBrowser1(), c.campo, c.valor));
        g.llamadas.clear();
        d.CmdAutorizado_Click();
        const QString avisos = g.TomarAvisos().join('\n'), estado = Valor("SELECT Estado FROM Docs");
        if (c.espera.isEmpty()) {
            EXPECT_TRUE(avisos.isEmpty() && estado == "AU") << c.valor.toStdString() << avisos.toStdString();
            continue;
        }
        const QString campo = QString::fromLatin1(c.campo);
        const QString aviso = c.espera == "obligatorio"
            ? "ERR-ID:7500027|64|Orvinda|frmAutorizacion|El campo 'MONTO' es obligatorio no puede estar vacío"
            : "ERR-ID:7500064|64|Orvinda|frmAutorizacion|El campo '" + campo + "' " + c.espera + ". Corríjalo y vuelva a intentarlo.";
        EXPECT_EQ(avisos, aviso) << c.valor.toStdString();
        EXPECT_EQ(d.WebBrowser1().EjecutarSincrono("document.activeElement.id").toString(), campo);
        EXPECT_TRUE(estado == "PE" && (c.espera == "obligatorio" || g.LlamadasA("ObtenerConexion").isEmpty())) << c.valor.toStdString();
    }
}
