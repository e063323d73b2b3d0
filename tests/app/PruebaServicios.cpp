#include "comun/EntornoPrueba.h"
#include "host/controles/ListView.h"
#include "host/controles/flatButton.h"
#include "host/datos/Conexion.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/RegistroComponentes.h"
#include "servicios/Mensajero.h"
#include "servicios/SistemaOrvinda.h"
#include "servicios/Traza.h"
#include "servicios/UtileriasOrvinda.h"
#include "shell/AplicacionShell.h"
#include "shell/CreacionDemo.h"
#include "shell/OpcionesShell.h"
#include "shell/VentanaContenedora.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <QtTest/QTest>

using namespace orvinda;

namespace {

class PruebaServicios : public EntornoPrueba
{
protected:
    void SetUp() override
    {
        EntornoPrueba::SetUp();
        rutaTraza = carpeta.path() + "/traza.txt";
        traza = std::make_unique<Traza>(rutaTraza);
        mensajero = std::make_unique<Mensajero>(traza.get(), true);
    }
    QString rutaTraza;
    std::unique_ptr<Traza> traza;
    std::unique_ptr<Mensajero> mensajero;
};

} // namespace

TEST_F(PruebaServicios, ParametrosConAmbitoTipoYValorPorOmision)
{
    Ejecutar(QStringLiteral("INSERT INTO Parametros_Generales (Pg_Cve_Parametro, Pg_Ambito, Pg_Tipo, Pg_Valor) VALUES ('GEN_URL', 1, 'T',"
                            " 'orvinda://web'), ('GEN_URL', 0, 'T', 'http://otro'), ('CAT_AUTOCLAVE', 0, 'B', '1'), ('VACIO', 0, 'B', NULL)"));
    SistemaOrvinda s(*conexion, *mensajero, "ADMIN", -1);

    const auto leer = [&](const char* clave, int ambito = 0, const QString& tipo = {}, const QString& omision = {}) {
        return s.LeerParametro(clave, ambito, tipo, omision);
    };
    EXPECT_EQ(leer("GEN_URL", 1), QVariant("orvinda://web"));
    EXPECT_EQ(leer("GEN_URL"), QVariant("http://otro"));
    EXPECT_EQ(leer("CAT_AUTOCLAVE"), QVariant(true));
    EXPECT_EQ(leer("CAT_AUTOCLAVE", 0, "T"), QVariant("1"));
    EXPECT_TRUE(leer("VACIO").isNull());
    EXPECT_EQ(leer("FTO_CONFIGURACION_AUTORIZACION", 0, "T", "0000"), QVariant("0000"));
    EXPECT_FALSE(LeerArchivo(rutaTraza).contains("ERR-ID:9900001"));

    // A parameter missing from the table: a clear message, once, and no value.
    EXPECT_TRUE(leer("NO_EXISTE").isNull() && leer("NO_EXISTE").isNull());
    EXPECT_TRUE(LeerArchivo(rutaTraza).count("MSG ERR-ID:9900001 estilo=48") == 1 && LeerArchivo(rutaTraza).contains("\"NO_EXISTE\" no está dado de alta"));

    EXPECT_EQ(SistemaOrvinda::ConvertirParametro("0", "B"), QVariant(false));
    EXPECT_EQ(SistemaOrvinda::ConvertirParametro("SI", "B"), QVariant(true));
    EXPECT_EQ(SistemaOrvinda::ConvertirParametro("12", "N"), QVariant(12LL));

    Ejecutar("INSERT INTO Operadores (Op_Cve_Operador, Op_Nombre, Op_Nivel) VALUES ('ADMIN', 'Administración', 5)");
    EXPECT_EQ(s.NivelSistema(), 5);
    EXPECT_EQ(SistemaOrvinda(*conexion, *mensajero, "NADIE", -1).NivelSistema(), 0);
    EXPECT_EQ(SistemaOrvinda(*conexion, *mensajero, "ADMIN", 3).NivelSistema(), 3);
}

// No (or OK), but a question before a command asked for lets it go on.
TEST_F(PruebaServicios, MensajesDesatendidosVanALaTrazaYRespondenSinDetenerLoPedido)
{
    EXPECT_EQ(mensajero->Mostrar("¿Desea generar una nueva clave?", 36, "Generar nueva clave?", nullptr, "RM640", "ERR-ID:7500025"), 7);
    EXPECT_EQ(mensajero->Mostrar("Listo", 64, "Información", nullptr, "RM640", "ERR-ID:7500019"), 1);
    EXPECT_EQ(mensajero->Preguntar("¿Guardarla de todos modos?", "Guardar", nullptr, "RM640", "ERR-ID:7500095", 7, 6), 6);
    EXPECT_EQ(LeerArchivo(rutaTraza),
              QStringLiteral("MSG ERR-ID:7500025 estilo=36 titulo=\"Generar nueva clave?\" modulo=RM640 texto=\"¿Desea generar una nueva clave?\"\n"
                             "MSG ERR-ID:7500019 estilo=64 titulo=\"Información\" modulo=RM640 texto=\"Listo\"\n"
                             "MSG ERR-ID:7500095 estilo=36 titulo=\"Guardar\" modulo=RM640 texto=\"¿Guardarla de todos modos?\"\n"));
}

TEST_F(PruebaServicios, MensajesConUsuarioDevuelvenElBotonPulsado)
{
    Mensajero conUsuario(traza.get(), false);
    const auto caja = [] { return QApplication::activeModalWidget(); };
    QString informativo;
    AlAbrirseModal(sondeos, caja, [&](QWidget& w) {
        auto& m = static_cast<QMessageBox&>(w);
        informativo = m.informativeText();
        EXPECT_TRUE(m.windowTitle() == "Generar nueva clave?" && m.icon() == QMessageBox::Question);
        m.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(conUsuario.Mostrar("La clave, ya existe", 36, "Generar nueva clave?", nullptr, "RM640", "ERR-ID:7500025"), 6);
    EXPECT_EQ(informativo, "Módulo RM640 · ERR-ID:7500025");

    AlAbrirseModal(sondeos, caja, [](QWidget& w) {
        EXPECT_EQ(static_cast<QMessageBox&>(w).icon(), QMessageBox::Critical);
        static_cast<QMessageBox&>(w).button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(conUsuario.Mostrar("near \"X\": syntax error", 16, "ERROR", nullptr, "RM640", "ERR-ID:7500020"), 1);

    // What went wrong in red, readable on the box's own background; the rest as any text.
    AlAbrirseModal(sondeos, caja, [](QWidget& w) {
        auto& m = static_cast<QMessageBox&>(w);
        EXPECT_EQ(m.text(), "<span style=\"color: #b41e1e\">Errores (1):<br>a &lt;b&gt;<br></span>Avisos (1):<br>c");
        EXPECT_GE(flatButton::Contraste(Mensajero::ColorGrave, m.palette().color(QPalette::Window)), 4.5);
        // A short message still leaves the title bar room for the whole title.
        QFont negrita = m.font();
        negrita.setBold(true);
        EXPECT_GT(m.width(), QFontMetrics(negrita).horizontalAdvance(m.windowTitle()) + 100) << m.width();
        m.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(conUsuario.Mostrar("Errores (1):\na <b>\nAvisos (1):\nc", 16, "Autorizar seleccionados", nullptr, "RM640", "ERR-ID:7500093", 19), 1);

    // A question's default button is the one it names: Enter answers it.
    for (const int predeterminada : {6, 7}) {
        AlAbrirseModal(sondeos, caja, [](QWidget& w) { static_cast<QMessageBox&>(w).defaultButton()->click(); });
        EXPECT_EQ(conUsuario.Preguntar("¿Seguro?", "Guardar", nullptr, "RM640", "ERR-ID:7500095", predeterminada, 6), predeterminada);
    }
}

TEST_F(PruebaServicios, BusquedasClavesFechasYComentariosSobreLaBase)
{
    ASSERT_TRUE(Configuracion("0001", {{"Ca_Tabla", "REQ"}}) && Configuracion("0009", {}) && Configuracion("ABC", {}));
    UtileriasOrvinda u(*conexion, "ADMIN");

    const QString tabla = "Configuracion_Autorizacion", clave = "Ca_Cve_Configuracion_Autorizacion";
    const auto buscar = [&](const QString& valor) { return u.BuscarValor(tabla, clave, valor, "Ca_Tabla", 0, {}, {}, {}); };
    EXPECT_EQ(buscar("0001"), "REQ");
    EXPECT_EQ(buscar("0009"), QString());
    EXPECT_EQ(buscar("x' OR '1'='1"), QString());
    EXPECT_THROW(u.BuscarValor(tabla + "; DROP", "x", "1", "y", 0, {}, {}, {}), ErrorRm);
    EXPECT_EQ(u.SiguienteClave(tabla, clave, {}, {}, {}, {}, {}, {}, {}), 10);

    conexion->LimpiarBitacora();
    EXPECT_TRUE(u.FechaServidor().isValid());
    EXPECT_EQ(conexion->Bitacora(), QStringList{"SELECT strftime('%Y-%m-%dT%H:%M:%S', 'now', 'localtime')"});
    EXPECT_EQ(u.FormatearFecha(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))), "2026-01-02T03:04:05");

    QString comentario = "Falta la cotización del proveedor's";
    u.GuardarComentario("REQUISICIONES_COMPRA", "RC-0001", comentario);
    const QStringList filas = Contenido("Comentarios_Documento", "Cd_Id");
    ASSERT_EQ(filas.size(), 1);
    EXPECT_TRUE(filas[0].startsWith("1|REQUISICIONES_COMPRA|RC-0001|Falta la cotización del proveedor's|ADMIN|"));
}

// Clearing and opening forms is seen through the editor's tests; the list
// takes its headers from the query and shows NULL as empty.
TEST_F(PruebaServicios, ListasDesdeUnaConsulta)
{
    UtileriasOrvinda u(*conexion, "ADMIN");
    Ejecutar("CREATE TABLE Docs (Folio TEXT, Importe REAL, Nota TEXT)");
    Ejecutar("INSERT INTO Docs VALUES ('RC-0002', 1500.5, NULL), ('RC-0001', 20, 'urgente')");
    ListView lista;
    lista.ColumnHeadersAdd("Folio");
    bool bandera = true;
    u.LlenarLista("SELECT Folio, Importe AS Total, Nota FROM Docs ORDER BY Folio", lista, bandera);
    ASSERT_EQ(EsperarLista(lista), "");
    ASSERT_TRUE(lista.ColumnHeadersCount() == 3 && lista.ListItemsCount() == 2);
    EXPECT_EQ((QStringList{lista.ColumnHeaderText(0), lista.ColumnHeaderText(1), lista.ListItemText(0), lista.ListItemText(0, 2), lista.ListItemText(1, 2)}),
              (QStringList{"Folio", "Total", "RC-0001", "urgente", ""}));

    u.LlenarLista("SELECT * FROM NoHay", lista, bandera);
    EXPECT_EQ(EsperarLista(lista), "no such table: NoHay");
}

TEST_F(PruebaServicios, ElShellExplicaCadaArranqueFallido)
{
    // A database path that does not exist: no file is created.
    OpcionesShell o;
    o.baseDatos = carpeta.path() + "/falta.db";
    o.traza = carpeta.path() + "/shell.txt";
    o.desatendido = true;
    EXPECT_EQ(AplicacionShell(o).Iniciar(), 1);
    EXPECT_FALSE(QFile::exists(o.baseDatos));
    EXPECT_TRUE(LeerArchivo(o.traza).contains("MSG ERR-ID:9900004 estilo=16 titulo=\"Orvinda\" modulo=ORVINDA texto=\"No existe la base de datos "));

    // An ODBC string that does not connect.
    o.baseDatos = "DRIVER={Controlador Inexistente};SERVER=127.0.0.1";
    EXPECT_EQ(AplicacionShell(o).Iniciar(), 1);
    EXPECT_TRUE(LeerArchivo(o.traza).contains("texto=\"No se puede abrir la base de datos DRIVER={Controlador Inexistente}"));

    // The demo database, created once, refused the second time.
    const QString demo = carpeta.path() + "/demo.db";
    CreacionDemo::Crear(demo);
    EXPECT_THROW(CreacionDemo::Crear(demo), std::runtime_error);

    // A registry entry that points to a missing library is replaced by the
    // library that comes with the shell, and the user is told.
    RegistroComponentes::Escribir({"RM640.Pantalla", "{5E0C6D2A-8B1F-4C3A-9D64-0A1B2C3D4E64}", carpeta.path() + "/borrada/librm640.so"});
    o.baseDatos = demo;
    {
        AplicacionShell shell(o);
        EXPECT_EQ(shell.Iniciar(), -1);
        ASSERT_TRUE(shell.Ventana() && shell.Ventana()->isVisible());
        QObject* forma = shell.Ventana()->findChild<QObject*>("frmRM640");
        ASSERT_NE(forma, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return forma->property("Cargado").toBool(); }, 5000));
    }
    EXPECT_TRUE(LeerArchivo(o.traza).contains("MSG ERR-ID:9900006 estilo=48"));
    // The trace shows the configurations query as sent, then each listing
    // query, then the server's date the ages count against and the look for
    // authorizations whose printing never ended.
    const QString traza = LeerArchivo(o.traza);
    const qsizetype consulta = traza.indexOf(QStringLiteral(
        "SQL  SELECT  Ca_Cve_Configuracion_Autorizacion as ID,  Ca_Etiqueta ,  Ca_Sql   FROM Configuracion_Autorizacion  where  Es_Cve_Estado <> 'BA' \n"));
    ASSERT_GE(consulta, 0);
    const qsizetype fecha = traza.indexOf("\nSQL SELECT strftime(", consulta);
    ASSERT_GE(fecha, 0);
    EXPECT_EQ(traza.mid(consulta, fecha - consulta).count("\nSQL SELECT "), 3);
    EXPECT_EQ(traza.mid(fecha).count("\nSQL SELECT "), 2);
    EXPECT_EQ(traza.mid(fecha).count("\nSQL SELECT h.Bc_Ultimo_Id"), 1);
    EXPECT_EQ(RegistroComponentes::Buscar("RM640.Pantalla")->biblioteca, AplicacionShell::BibliotecaIncluida());
}

// The shell's window opens where it was left, per screen.
TEST_F(PruebaServicios, LaVentanaDelShellAbreDondeSeDejo)
{
    const auto abrir = [](const QString& transaccion) {
        auto* v = new VentanaContenedora(transaccion);
        auto* pantalla = new QWidget;
        pantalla->resize(400, 300);
        v->Alojar(pantalla);
        v->show();
        return std::unique_ptr<VentanaContenedora>(v);
    };
    auto v = abrir("RM640");
    const QRect inicial = v->geometry();
    v->setGeometry(QRect(37, 41, 520, 380));
    EXPECT_TRUE(QTest::qWaitFor([&] { return v->geometry() == QRect(37, 41, 520, 380); }, 2000));
    v->close();
    EXPECT_EQ(abrir("RM640")->geometry(), QRect(37, 41, 520, 380));
    EXPECT_EQ(abrir("OTRA")->geometry().size(), inicial.size());
}
