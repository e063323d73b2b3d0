#include "comun/EntornoPrueba.h"
#include "host/controles/Controles.h"
#include "host/controles/Frame.h"
#include "host/controles/ListView.h"
#include "host/controles/SSTab.h"
#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "review/frmAutorizacion.h"

#include <QLineEdit>
#include <QProgressDialog>
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

    EXPECT_EQ(conexion->Bitacora(), QStringList{ConsultaConfiguraciones});
    const QString vacia = "ERR-ID:7500001|48|Actualizar_Autorizaciones()|frmRM640|No existe información";
    EXPECT_EQ(g.TomarAvisos(), QStringList{vacia});
    EXPECT_EQ(Titulos(f), QStringList{"DATOS"});
    EXPECT_TRUE(!f.Cargado() && f.lvInsidencias(0).ListItemsCount() == 0);

    Activar(f);
    EXPECT_EQ(g.Avisos(), QStringList{vacia});
}

TEST_F(PruebaBandeja, ConfiguracionesActivasEnElOrdenDeLaBase)
{
    // One configuration uses the designed tab.
    Configuracion("0001", "Requisiciones", "SELECT Folio, Total FROM Docs WHERE Tipo = 'A' ORDER BY Folio");
    frmRM640* una = &Abrir();
    EXPECT_EQ(Titulos(*una) << una->TotalPestanias() << QString::number(una->SSTab().TabsPerRow()), (QStringList{"&1Requisiciones", "1", "1"}));
    delete una;

    Configuracion("0002", "Órdenes", "SELECT Folio FROM Docs WHERE Tipo = 'B'");
    Configuracion("0009", "Borrada", "SELECT 1", "BA");
    Configuracion("0003", "Gastos", "SELECT Folio, Total FROM Docs");
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
    // Typing narrows every tab at once, so each count says whether its kind matches; Esc clears.
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
