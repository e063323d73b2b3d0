#include "comun/EntornoPrueba.h"
#include "host/controles/Controles.h"
#include "host/controles/Frame.h"
#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/SSTab.h"
#include "host/servicios/Utilerias.h"
#include "inbox/ResumenLote.h"
#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "review/frmAutorizacion.h"

#include <QAccessible>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

using rm640::frmRM640;

namespace {

const QString ConsultaConfiguraciones = QStringLiteral(
    " SELECT  Ca_Cve_Configuracion_Autorizacion as ID,  Ca_Etiqueta ,  Ca_Sql   FROM Configuracion_Autorizacion  where  Es_Cve_Estado <> 'BA' ");

class PruebaBandeja : public EntornoPrueba
{
protected:
    void SetUp() override
    {
        EntornoPrueba::SetUp();
        Ejecutar("CREATE TABLE Docs (Folio TEXT, Tipo TEXT, Total REAL)");
        for (int i = 1; i <= 5; ++i)
            Ejecutar(QStringLiteral("INSERT INTO Docs VALUES ('F-%1', '%2', %3)").arg(i).arg(i % 2 ? "A" : "B").arg(i * 100));
        rm640::Publico::Main();
    }

    void Configuracion(const QString& clave, const QVariant& etiqueta, const QVariant& sql, const QVariant& estado = "AC")
    {
        ASSERT_TRUE(EntornoPrueba::Configuracion(clave, {{"Ca_Etiqueta", etiqueta}, {"Ca_Sql", sql}, {"Es_Cve_Estado", estado}}));
    }

    frmRM640& Abrir()
    {
        frmRM640& f = frmRM640::Instancia();
        f.Form_Load();
        conexion->LimpiarBitacora();
        Activar(f);
        return f;
    }

    // Two kinds on screen, the second tab chosen, its window active for the keys.
    frmRM640& AbrirSegundaPestania()
    {
        Configuracion("0001", "Tipo A", "SELECT Folio FROM Docs WHERE Tipo = 'A'");
        Configuracion("0002", "Tipo B", "SELECT Folio, Total FROM Docs WHERE Tipo = 'B' ORDER BY Folio");
        frmRM640& f = Abrir();
        f.show();
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        // The keys start on the list of the tab shown.
        EXPECT_EQ(QApplication::focusWidget(), &f.lvInsidencias(0));
        f.SSTab().setTab(1);
        f.lvInsidencias(1).setFocus();
        return f;
    }

    QStringList Titulos(const frmRM640& f)
    {
        QStringList t;
        for (int i = 0; i < f.SSTab().Tabs(); ++i)
            t.append(f.SSTab().TabCaption(i));
        return t;
    }
};

} // namespace

TEST_F(PruebaBandeja, SinConfiguracionesActivasAvisaEnCadaActivacionYConservaElDiseno)
{
    Configuracion("0004", "Vacaciones", "SELECT Folio FROM Docs", "BA");
    Configuracion("0005", "Sin estado", "SELECT Folio FROM Docs", QVariant());
    frmRM640& f = Abrir();

    // The configurations, then the authorizations whose printing never ended.
    EXPECT_TRUE(conexion->Bitacora().size() == 2 && conexion->Bitacora()[0] == ConsultaConfiguraciones
                && conexion->Bitacora()[1].startsWith("SELECT h.Bc_Ultimo_Id"))
        << conexion->Bitacora().join('\n').toStdString();
    const QString vacia = "ERR-ID:7500001|48|Actualizar_Autorizaciones()|frmRM640|No existe información";
    EXPECT_EQ(g.TomarAvisos(), QStringList{vacia});
    EXPECT_EQ(Titulos(f), QStringList{"DATOS"});
    EXPECT_TRUE(!f.Cargado() && f.lvInsidencias(0).ListItemsCount() == 0);

    Activar(f);
    EXPECT_EQ(g.Avisos(), QStringList{vacia});
}

TEST_F(PruebaBandeja, ConfiguracionesActivasEnElOrdenDeSusClaves)
{
    // One configuration uses the designed tab.
    Configuracion("0001", "Requisiciones", "SELECT Folio, Total FROM Docs WHERE Tipo = 'A' ORDER BY Folio");
    frmRM640* una = &Abrir();
    EXPECT_EQ(Titulos(*una) << una->TotalPestanias() << QString::number(una->SSTab().TabsPerRow()), (QStringList{"&1Requisiciones", "1", "1"}));
    delete una;

    // Stored out of order: the tabs follow the keys, whatever order the engine returns.
    Configuracion("0003", "Gastos", "SELECT Folio, Total FROM Docs");
    Configuracion("0009", "Borrada", "SELECT 1", "BA");
    Configuracion("0002", "Órdenes", "SELECT Folio FROM Docs WHERE Tipo = 'B'");
    g.llamadas.clear();
    frmRM640& f = Abrir();
    EXPECT_TRUE(g.mensajes.isEmpty() && f.Cargado() && f.SSTab().TabsPerRow() == 4 && f.SSTab().Tab() == 0);
    EXPECT_EQ(Titulos(f) << f.TotalPestanias(), (QStringList{"&1Requisiciones", "&2Órdenes", "&3Gastos", "3"}));
    EXPECT_EQ(f.ClavesConfiguracion(), (QStringList{"0001", "0002", "0003"}));
    EXPECT_EQ(g.LlamadasA("LlenarLista").value(0), "LlenarLista(SELECT Folio, Total FROM Docs WHERE Tipo = 'A' ORDER BY Folio,true)");
    EXPECT_EQ(rm640::Publico::CadenaSql, ConsultaConfiguraciones);
    EXPECT_EQ(f.lvInsidencias(0).ListItemText(0), "F-1");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(f.lvInsidencias(i).ListItemsCount(), (QList<int>{3, 2, 5}[i]));
        EXPECT_TRUE(f.lvInsidencias(i).isEnabled() && f.lvInsidencias(i).Index() == i) << i;
        EXPECT_TRUE(f.fr0(i).parentWidget() == f.SSTab().Pagina(i) && f.lvInsidencias(i).parentWidget() == &f.fr0(i)) << i;
    }
    // Filled: later activations do not refresh again.
    Activar(f);
    EXPECT_EQ(g.LlamadasA("LlenarLista").size(), 3);
}

TEST_F(PruebaBandeja, PrimeraConsultaVaciaYValoresNulosDetienenElRefresco)
{
    Configuracion("0001", "Requisiciones", "");
    Configuracion("0002", "Órdenes", "SELECT Folio FROM Docs");
    frmRM640& f = Abrir();

    EXPECT_EQ(g.TomarAvisos(), QStringList{"ERR-ID:7500002|48|Atención|frmRM640|La consulta <REQUISICION_COMPRA_PENDIENTE> no está configurada"});
    EXPECT_EQ(Titulos(f) << f.ClavesConfiguracion(), (QStringList{"&1Requisiciones", "0001"}));
    EXPECT_TRUE(!f.Cargado() && g.LlamadasA("LlenarLista").isEmpty());

    // A NULL label stops the refresh with the error's own description.
    Ejecutar(QStringLiteral("UPDATE Configuracion_Autorizacion SET Ca_Sql = 'SELECT Folio FROM Docs', Ca_Etiqueta = CASE Ca_Cve_Configuracion_Autorizacion "
                            "WHEN '0002' THEN NULL ELSE Ca_Etiqueta END"));
    Activar(f);
    EXPECT_EQ(g.Avisos(), QStringList{"ERR-ID:7500003|16|Actualizar_Autorizaciones()|frmRM640|Uso no válido de Null"});
    EXPECT_FALSE(f.Cargado());
}

TEST_F(PruebaBandeja, UnaConsultaQueFallaYUnRefrescoPosteriorQueEmpiezaDeNuevo)
{
    Configuracion("0001", "Requisiciones", "SELECT Folio FROM Docs");
    Configuracion("0002", "Órdenes", "SELECT Folio FROM NoExiste");
    Configuracion("0003", "Gastos", "SELECT Folio FROM Docs");
    frmRM640& f = Abrir();

    EXPECT_EQ(g.Avisos(), QStringList{"ERR-ID:7500003|16|Actualizar_Autorizaciones()|frmRM640|no such table: NoExiste"});
    // What was made so far stays on screen.
    EXPECT_EQ(Titulos(f), (QStringList{"&1Requisiciones", "&2Órdenes"}));
    EXPECT_TRUE(!f.Cargado() && f.ElementosCargados() == 2);

    // The next activation starts from the designed state, not on top of the
    // stopped run's tabs and elements.
    Ejecutar("UPDATE Configuracion_Autorizacion SET Ca_Sql = 'SELECT Folio FROM Docs' WHERE Ca_Cve_Configuracion_Autorizacion = '0002'");
    Activar(f);
    EXPECT_EQ(Titulos(f), (QStringList{"&1Requisiciones", "&2Órdenes", "&3Gastos"}));
    EXPECT_TRUE(g.mensajes.size() == 1 && f.Cargado() && f.ElementosCargados() == 3 && f.SSTab().TabsPerRow() == 4);
    EXPECT_TRUE(f.ClavesConfiguracion().size() == 3 && f.lvInsidencias(1).ListItemsCount() == 5);
}

TEST_F(PruebaBandeja, NivelDelOperadorYBotonDeSalida)
{
    frmRM640* f = nullptr;
    for (auto [nivel, boton] : {std::pair{3, ""}, {4, "Configuración"}}) {
        delete f;
        g.nivel = nivel;
        f = &frmRM640::Instancia();
        f->Form_Load();
        EXPECT_EQ(f->Controles().TextoBotonExtra(), boton);
    }

    // Exit unloads the container, not the inbox.
    QWidget contenedor;
    contenedor.show();
    f->setPadre(&contenedor);
    f->Controles_Salir();
    EXPECT_TRUE(!contenedor.isVisible() && frmRM640::ExisteInstancia());

    // Without a container the exit is reported, not a crash.
    f->setPadre(nullptr);
    f->Controles_Salir();
    EXPECT_EQ(g.mensajes.size() == 1 ? g.mensajes[0].idError : QString(), "ERR-ID:7500029");
}

TEST_F(PruebaBandeja, EnterAbreComoElDobleClic)
{
    frmRM640& f = AbrirSegundaPestania();
    orvinda::ListView& lista = f.lvInsidencias(1);
    QStringList vistos[2];
    for (QStringList& visto : vistos) {
        g.llamadas.clear();
        conexion->LimpiarBitacora();
        if (&visto == &vistos[0])
            QTest::mouseDClick(lista.viewport(), Qt::LeftButton, {}, lista.visualRect(lista.model()->index(1, 0)).center());
        else
            QTest::keyClick(&lista, Qt::Key_Return);
        visto = g.llamadas + conexion->Bitacora();
    }
    EXPECT_EQ(vistos[0], vistos[1]);
    EXPECT_TRUE(vistos[0].contains("BuscarValor(Configuracion_Autorizacion,Ca_Cve_Configuracion_Autorizacion,0002,Ca_Tabla,0,,,)"));
}

// A window manager activates the window before its lists exist, and Qt hands
// the keys to the tab bar: the first fill gives them to the list.
TEST_F(PruebaBandeja, LaPrimeraCargaDaLasTeclasALaListaAunqueLaVentanaSeActivaraAntes)
{
    Configuracion("0001", "Tipo A", "SELECT Folio FROM Docs WHERE Tipo = 'A'");
    frmRM640& f = frmRM640::Instancia();
    f.Form_Load();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    auto* pestanias = f.SSTab().findChild<QTabBar*>();
    ASSERT_NE(pestanias, nullptr);
    pestanias->setFocus();
    Activar(f);
    EXPECT_EQ(QApplication::focusWidget(), &f.lvInsidencias(0));
    // Alt and the shown tab's digit bring the keys back to its list from anywhere.
    f.txtFiltro().setFocus();
    QTest::keyClick(&f.txtFiltro(), Qt::Key_1, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == &f.lvInsidencias(0); }));
}

TEST_F(PruebaBandeja, F5ConservaPestaniaYSeleccionYElFiltroCuenta)
{
    frmRM640& f = AbrirSegundaPestania();
    f.lvInsidencias(1).setSelectedIndex(1);
    f.lvInsidencias(1).OrdenarPor(1, Qt::DescendingOrder); // by Total: F-4, F-2
    Ejecutar("INSERT INTO Docs VALUES ('F-0', 'B', 1)");
    QTest::keyClick(&f.lvInsidencias(1), Qt::Key_F5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Refrescando(); }));
    EXPECT_EQ(Titulos(f), (QStringList{"&1Tipo A", "&2Tipo B"}));
    EXPECT_TRUE(f.SSTab().Tab() == 1 && f.lvInsidencias(1).SelectedItem() == "F-4" && g.LlamadasA("LlenarLista").size() == 4);
    EXPECT_EQ(f.lvInsidencias(1).ListItemText(0) + f.lvInsidencias(1).ListItemText(2), "F-4F-0");

    QTest::keyClick(&f.lvInsidencias(1), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(f.txtFiltro().hasFocus());
    // Typing narrows every tab at once, so each count says whether its kind matches; Esc clears it
    QStringList cuentas;
    for (const char* paso : {"f-4", "<pestania 0>", "<esc>"}) {
        if (paso == QStringLiteral("<pestania 0>"))
            f.SSTab().setTab(0);
        else if (paso == QStringLiteral("<esc>"))
            QTest::keyClick(&f.txtFiltro(), Qt::Key_Escape);
        else
            QTest::keyClicks(&f.txtFiltro(), paso);
        cuentas << f.CuentaPestania(0) << f.CuentaPestania(1);
    }
    EXPECT_EQ(cuentas, (QStringList{"0 de 3", "1 de 3", "0 de 3", "1 de 3", "3", "3"}));
    // and takes the keys back to the list shown, as Down does.
    EXPECT_TRUE(f.lvInsidencias(0).hasFocus());
    f.txtFiltro().setFocus();
    QTest::keyClick(&f.txtFiltro(), Qt::Key_Down);
    EXPECT_TRUE(f.lvInsidencias(0).hasFocus());
}

TEST_F(PruebaBandeja, TrasProcesarSeSeleccionaElSiguienteYElLoteRecargaUnaVez)
{
    Configuracion("0001", "Todos", "SELECT Folio FROM Docs WHERE Tipo <> 'X' ORDER BY Folio");
    // F-3 changes no row when authorized, as if another operator had taken it.
    Ejecutar("UPDATE Configuracion_Autorizacion SET Ca_Plantilla_Autorizacion = '<p>{Folio}</p>', "
             "Ca_Sql_Plantilla = 'SELECT Folio FROM Docs WHERE Folio = ''{folio}''', Ca_Campos_Autorizar = '', "
             "Ca_Sql_Autoriazion = 'UPDATE Docs SET Tipo = ''X'' WHERE Folio = ''{FOLIO}'' AND Folio <> ''F-3'''");
    frmRM640& f = Abrir();
    orvinda::ListView& lista = f.lvInsidencias(0);
    // Processed in the middle: the one after it; the last: the one now last.
    for (auto [procesado, siguiente] : {std::pair{"F-2", "F-3"}, {"F-5", "F-4"}}) {
        ASSERT_TRUE(lista.SeleccionarTexto(procesado));
        AlAbrirse<rm640::frmAutorizacion>([&, procesado = QString(procesado)](rm640::frmAutorizacion& d) {
            Ejecutar("DELETE FROM Docs WHERE Folio = '" + procesado + "'");
            d.setProcesado(true);
            d.hide();
        });
        QTest::keyClick(&lista, Qt::Key_Return);
        EXPECT_EQ(EsperarLista(lista), "");
        EXPECT_EQ(lista.SelectedItem(), siguiente);
    }

    f.show();
    // Run to the end, then cancelled at once (Cancel stops before the first document); one reload each.
    const QString tomado
        = "2 de 3.\nQuedan pendientes:\nF-3: El documento F-3 ya no está pendiente: otro operador lo procesó antes. No se aplicó ningún cambio.";
    for (auto [cancelar, resumen] : {std::pair{false, tomado}, {true, QString("0 de 1.\nSe canceló antes de terminar.")}}) {
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        lista.selectAll();
        ASSERT_TRUE(f.cmdAutorizarSeleccionados().isEnabled());
        g.llamadas.clear();
        g.mensajes.clear();
        if (cancelar)
            QTimer::singleShot(0, &f, [&f] { f.findChild<QProgressDialog*>("dlgAvanceLote")->cancel(); });
        QTest::keyClick(&lista, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !g.mensajes.isEmpty(); }, 60000));
        EXPECT_EQ(g.LlamadasA("LlenarLista").size(), 1);
        EXPECT_EQ(g.Avisos(),
                  QStringList{"ERR-ID:" + QString(cancelar ? "7500070|64" : "7500070|48") + "|Autorizar seleccionados|frmRM640|Autorizados: " + resumen});
    }
}

// Ages count against the server's date, read once per refresh after its
// statements; late and urgent rows are marked; each tab says how old its
// oldest document is; the title carries the pending total.
TEST_F(PruebaBandeja, EdadesMarcasYTituloContraLaFechaDelServidor)
{
    Ejecutar("CREATE TABLE Pend (Folio TEXT, Fecha TEXT, Prioridad TEXT, Total REAL)");
    Ejecutar("INSERT INTO Pend VALUES ('P-1', '26/10/2026', 'Normal', 10), ('P-2', '28/11/2026', 'Normal', 20), ('P-3', '06/12/2026', 'Urgente', 30)");
    Ejecutar("INSERT INTO Parametros_Generales (Pg_Cve_Parametro, Pg_Ambito, Pg_Tipo, Pg_Valor) VALUES ('RM640_DIAS_ATRASO', 0, 'N', '10')");
    Configuracion("0001", "Pendientes", "SELECT Folio, Fecha, Prioridad, Total FROM Pend ORDER BY Folio");
    Configuracion("0002", "Sin fecha", "SELECT Folio, Total FROM Docs ORDER BY Folio");
    g.llamadas.clear();
    frmRM640& f = Abrir();
    ASSERT_TRUE(f.Cargado());
    QApplication::processEvents();

    // Once, after the listings.
    EXPECT_EQ(g.LlamadasA("FechaServidor").size(), 1);
    EXPECT_GT(g.llamadas.lastIndexOf("FechaServidor()"), g.llamadas.lastIndexOf(QRegularExpression("^LlenarLista\\(")));
    EXPECT_EQ(f.DiasAtraso(), 10);

    orvinda::ListView& lista = f.lvInsidencias(0);
    const orvinda::ModeloLista& m = lista.Modelo();
    struct Fila
    {
        const char* folio;
        const char* ayuda;
        bool marcada;
    };
    const auto revisar = [&](std::initializer_list<Fila> filas) {
        int i = 0;
        for (const Fila& fila : filas) {
            EXPECT_EQ(lista.ListItemText(i), fila.folio);
            EXPECT_EQ(m.index(i, 1).data(Qt::ToolTipRole).toString(), QString::fromUtf8(fila.ayuda)) << fila.folio;
            EXPECT_EQ(m.Marcada(m.FilaAlmacen(i)), fila.marcada) << fila.folio;
            ++i;
        }
    };
    revisar({{"P-1", "hace 41 días", true}, {"P-2", "hace 8 días", false}, {"P-3", "hoy", true}});
    EXPECT_EQ(f.CuentaPestania(0), "3 · 41 d");
    // A listing without a date column shows no ages.
    EXPECT_EQ(f.CuentaPestania(1), "5");
    EXPECT_EQ(f.windowTitle(), "Orvinda — 8 pendientes");
    // The caption stays as the Part writes it; the count and the age are in the tab's name.
    EXPECT_EQ(f.SSTab().TabCaption(0), "&1Pendientes");
    EXPECT_EQ(f.SSTab().tabBar()->accessibleTabName(0), "Pendientes (Alt+1): 3 documentos, el más antiguo de hace 41 días");

    // Ten days later, on the server: the next refresh reads its date again.
    g.fechaServidor = QDateTime(QDate(2026, 12, 16), QTime(8, 0));
    f.Refrescar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Refrescando(); }));
    EXPECT_EQ(g.LlamadasA("FechaServidor").size(), 2);
    revisar({{"P-1", "hace 51 días", true}, {"P-2", "hace 18 días", true}, {"P-3", "hace 10 días", true}});
    EXPECT_EQ(f.CuentaPestania(0), "3 · 51 d");
    EXPECT_TRUE(g.mensajes.isEmpty());
}

// The idle refresh: one round of the same statements, read unseen and put in
// place at once; tab, selection, filter and sort stay; what arrived is marked
// until the reviewer moves onto it. Never with a dialog open or a list being
// read; a key stops one under way.
TEST_F(PruebaBandeja, ElRefrescoEnReposoConservaLoElegidoYMarcaLoNuevo)
{
    frmRM640& f = AbrirSegundaPestania();
    orvinda::ListView& b = f.lvInsidencias(1);
    b.OrdenarPor(1, Qt::DescendingOrder); // by Total: F-4, F-2
    b.setSelectedIndex(1);
    QTest::keyClicks(&f.txtFiltro(), "f-");
    b.setFocus();
    Ejecutar("INSERT INTO Docs VALUES ('F-6', 'B', 600)");
    g.llamadas.clear();
    conexion->LimpiarBitacora();

    QSignalSpy fin(&f, &frmRM640::RefrescoEnReposo);
    ASSERT_TRUE(f.RefrescarEnReposo());
    ASSERT_TRUE(fin.wait(20000));
    EXPECT_TRUE(fin.first().first().toBool());
    // The same statements as a refresh, then the server's date.
    EXPECT_EQ(conexion->Bitacora().value(0), ConsultaConfiguraciones);
    EXPECT_EQ(g.LlamadasA("LlenarLista"),
              (QStringList{"LlenarLista(SELECT Folio FROM Docs WHERE Tipo = 'A',true)",
                           "LlenarLista(SELECT Folio, Total FROM Docs WHERE Tipo = 'B' ORDER BY Folio,true)"}));
    EXPECT_EQ(g.llamadas.last(), "FechaServidor()");

    // Everything chosen stays; the lists are the same controls.
    EXPECT_TRUE(f.SSTab().Tab() == 1 && &f.lvInsidencias(1) == &b && b.hasFocus());
    EXPECT_EQ(b.SelectedItem(), "F-2");
    EXPECT_EQ(b.ListItemText(0) + b.ListItemText(1) + b.ListItemText(2), "F-6F-4F-2");
    EXPECT_TRUE(b.horizontalHeader()->isSortIndicatorShown() && b.horizontalHeader()->sortIndicatorSection() == 1
                && b.horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder);
    EXPECT_TRUE(f.txtFiltro().text() == "f-" && b.Filtro() == "f-" && f.CuentaPestania(1) == "3 de 3");
    EXPECT_EQ(f.Nuevos("0002"), QSet<QString>{"F-6"});
    EXPECT_TRUE(f.Nuevos("0001").isEmpty());
    EXPECT_TRUE(b.Modelo().Nueva(b.Modelo().FilaAlmacen(0)) && !b.Modelo().Nueva(b.Modelo().FilaAlmacen(1)));
    EXPECT_EQ(f.windowTitle(), "Orvinda — 6 pendientes");
    EXPECT_TRUE(g.mensajes.isEmpty() && f.Estado().startsWith("Actualizada a las "));
    // Seen once the reviewer moves onto it.
    QTest::keyClick(&b, Qt::Key_Up);
    EXPECT_FALSE(f.Nuevos("0002").isEmpty());
    QTest::keyClick(&b, Qt::Key_Up);
    EXPECT_TRUE(b.SelectedItem() == "F-6" && f.Nuevos("0002").isEmpty() && !b.Modelo().Nueva(b.Modelo().FilaAlmacen(0)));

    // Not with a dialog open, not while a refresh or a list read goes on.
    QDialog dialogo(&f);
    dialogo.show();
    EXPECT_FALSE(f.RefrescarEnReposo());
    dialogo.hide();
    f.Refrescar();
    EXPECT_TRUE(f.Refrescando() && !f.RefrescarEnReposo());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Refrescando(); }));
    bool bandera = true;
    rm640::Publico::Utilerias->LlenarLista("SELECT Folio FROM Docs WHERE Tipo = 'A'", f.lvInsidencias(0), bandera);
    EXPECT_TRUE(f.lvInsidencias(0).Llenando() && !f.RefrescarEnReposo());
    EXPECT_EQ(EsperarLista(f.lvInsidencias(0)), "");

    // A key while one is under way stops it, unseen. (F5 made the lists anew.)
    orvinda::ListView& otra = f.lvInsidencias(1);
    fin.clear();
    Ejecutar("DELETE FROM Docs WHERE Folio = 'F-6'");
    ASSERT_TRUE(f.RefrescarEnReposo());
    QTest::keyClick(&otra, Qt::Key_Down);
    EXPECT_FALSE(f.RefrescandoEnReposo());
    QTest::qWait(300);
    EXPECT_TRUE(fin.isEmpty());
    EXPECT_EQ(otra.Modelo().Total(), 3);

    // By itself after RM640_REFRESCO_SEG seconds without a key or the mouse.
    Ejecutar("INSERT INTO Parametros_Generales (Pg_Cve_Parametro, Pg_Ambito, Pg_Tipo, Pg_Valor) VALUES ('RM640_REFRESCO_SEG', 0, 'N', '1')");
    f.Refrescar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Refrescando(); }));
    EXPECT_EQ(f.SegundosReposo(), 1);
    ASSERT_TRUE(fin.wait(5000));
    EXPECT_TRUE(fin.last().first().toBool());
    EXPECT_EQ(f.lvInsidencias(1).Modelo().Total(), 2);
    // 0 turns it off.
    Ejecutar("UPDATE Parametros_Generales SET Pg_Valor = '0' WHERE Pg_Cve_Parametro = 'RM640_REFRESCO_SEG'");
    ASSERT_TRUE(fin.wait(5000));
    fin.clear();
    EXPECT_EQ(f.SegundosReposo(), 0);
    EXPECT_FALSE(fin.wait(1500));
}

// An idle refresh that fails (a listing, the configurations query) leaves
// the inbox exactly as it was and says so without a box. Enter on a tab a
// failed refresh left without a configuration does no harm.
TEST_F(PruebaBandeja, UnRefrescoEnReposoQueFallaDejaLaBandejaComoEstaba)
{
    frmRM640& f = AbrirSegundaPestania();
    f.lvInsidencias(1).OrdenarPor(1, Qt::DescendingOrder);
    f.lvInsidencias(1).setSelectedIndex(1);
    QApplication::processEvents();
    const auto estado = [&] {
        QStringList e = Titulos(f) << f.ClavesConfiguracion() << f.TotalPestanias() << QString::number(f.SSTab().Tab()) << f.windowTitle();
        for (int i = 0; i < f.ElementosCargados(); ++i) {
            e << f.CuentaPestania(i) << f.lvInsidencias(i).SelectedItem();
            for (int r = 0; r < f.lvInsidencias(i).ListItemsCount(); ++r)
                e << f.lvInsidencias(i).ListItemText(r);
        }
        return e;
    };
    const QStringList antes = estado();
    for (auto [romper, reparar] :
         {std::pair{"ALTER TABLE Docs RENAME TO Docs_Fuera", "ALTER TABLE Docs_Fuera RENAME TO Docs"},
          {"ALTER TABLE Configuracion_Autorizacion RENAME TO Ca_Fuera", "ALTER TABLE Ca_Fuera RENAME TO Configuracion_Autorizacion"}}) {
        Ejecutar(romper);
        QSignalSpy fin(&f, &frmRM640::RefrescoEnReposo);
        ASSERT_TRUE(f.RefrescarEnReposo());
        ASSERT_TRUE(fin.count() == 1 || fin.wait(20000));
        EXPECT_FALSE(fin.first().first().toBool());
        EXPECT_EQ(estado(), antes) << romper;
        EXPECT_TRUE(f.Estado().startsWith("No se pudo actualizar a las ")) << f.Estado().toStdString();
        EXPECT_TRUE(g.mensajes.isEmpty()) << g.mensajes.value(0).mensaje.toStdString();
        Ejecutar(reparar);
    }

    // F5 keeps the Part's messages; the designed tab it leaves opens nothing.
    Ejecutar("ALTER TABLE Configuracion_Autorizacion RENAME TO Ca_Fuera");
    f.Refrescar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Refrescando(); }));
    EXPECT_EQ(g.TomarAvisos().value(0).section(u'|', 0, 2), "ERR-ID:7500003|16|Actualizar_Autorizaciones()");
    EXPECT_EQ(Titulos(f), QStringList{"DATOS"});
    f.lvInsidencias(0).setFocus();
    QTest::keyClick(&f.lvInsidencias(0), Qt::Key_Return);
    EXPECT_TRUE(g.mensajes.isEmpty());
    EXPECT_EQ(f.Estado(), "Esta pestaña no tiene documentos que abrir: F5 vuelve a leer");
    Ejecutar("ALTER TABLE Ca_Fuera RENAME TO Configuracion_Autorizacion");
}

// A sort shows the first row; its arrow survives a reload; the filter counts
// show on every tab at once and a kind without a match is dimmed; Tab walks
// the controls, never the cells, and reaches every command.
TEST_F(PruebaBandeja, OrdenFiltroEnCadaPestaniaYTeclado)
{
    frmRM640& f = AbrirSegundaPestania();
    orvinda::ListView& b = f.lvInsidencias(1);
    b.OrdenarPor(1, Qt::DescendingOrder);
    QTest::keyClick(&b, Qt::Key_F5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Refrescando(); }));
    QHeaderView* cabecera = f.lvInsidencias(1).horizontalHeader();
    EXPECT_TRUE(cabecera->isSortIndicatorShown() && cabecera->sortIndicatorSection() == 1 && cabecera->sortIndicatorOrder() == Qt::DescendingOrder);

    QTest::keyClicks(&f.txtFiltro(), "f-1");
    QApplication::processEvents();
    QTabBar* pestanias = f.SSTab().tabBar();
    EXPECT_EQ(QStringList({f.CuentaPestania(0), f.CuentaPestania(1)}), (QStringList{"1 de 3", "0 de 2"}));
    EXPECT_TRUE(!pestanias->tabTextColor(0).isValid() && pestanias->tabTextColor(1).isValid());
    EXPECT_TRUE(pestanias->accessibleTabName(1).endsWith("ninguno coincide con el filtro"));
    QTest::keyClick(&f.txtFiltro(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(pestanias->tabTextColor(1).isValid());

    // From the list, Tab leaves it at once and comes round to it again.
    f.lvInsidencias(1).setFocus();
    f.lvInsidencias(1).selectAll();
    QStringList vistos;
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        vistos << QApplication::focusWidget()->objectName();
    }
    EXPECT_NE(vistos.first(), "lvInsidencias");
    for (const char* control : {"txtFiltro", "cmdAutorizarSeleccionados", "cmdExtra", "cmdSalir", "lvInsidencias"})
        EXPECT_TRUE(vistos.contains(control)) << control << " " << vistos.join(' ').toStdString();
    for (const char* control : {"txtFiltro", "cmdAutorizarSeleccionados", "cmdExtra", "cmdSalir", "lvInsidencias", "SSTab"}) {
        auto* w = f.findChild<QWidget*>(control);
        ASSERT_TRUE(w) << control;
        QAccessibleInterface* accesible = QAccessible::queryAccessibleInterface(w);
        EXPECT_TRUE(accesible && !accesible->text(QAccessible::Name).isEmpty()) << control;
    }
}

// Reasons that differ only by naming their own document are one reason in
// the summary; a folio that is part of another word stays.
TEST(ResumenLote, MotivosQueNombranSuDocumentoSeAgrupan)
{
    const auto otro = [](const QString& f) { return "El documento " + f + " ya no está pendiente: otro operador lo procesó antes."; };
    using P = rm640::AutorizacionEnLote::Pendiente;
    rm640::AutorizacionEnLote::Resumen r;
    for (const QString f : {"A-1", "A-2", "A-3"})
        r.pendientes.append(P{f, otro(f)});
    r.pendientes.append(P{"1", "El campo 'MONTO_1' es obligatorio"});
    r.pendientes.append(P{"A-4", "No puede autorizar el documento A-4: lo solicitó usted."});
    EXPECT_EQ(rm640::ResumenLote::Texto(r, 6),
              "Autorizados: 0 de 6.\nQuedan pendientes:\n"
              "3 documentos: El documento ya no está pendiente: otro operador lo procesó antes.\n   (A-1, A-2, A-3)\n"
              "1: El campo 'MONTO_1' es obligatorio\n"
              "A-4: No puede autorizar el documento A-4: lo solicitó usted.");
}
