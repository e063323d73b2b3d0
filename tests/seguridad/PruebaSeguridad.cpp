#include "comun/EntornoPrueba.h"
#include "comun/ServidorPostgres.h"
#include "config/Parametros.h"
#include "host/controles/ListView.h"
#include "host/controles/WebBrowser.h"
#include "host/datos/Secretos.h"
#include "host/servicios/CargadorComponentes.h"
#include "host/servicios/RegistroComponentes.h"
#include "inbox/frmRM640.h"
#include "marcadores/MarcadoresSql.h"
#include "publico/Publico.h"
#include "review/frmAutorizacion.h"
#include "servicios/ImpresorOrvinda.h"
#include "servicios/ServidorPaginas.h"
#include "shell/AplicacionShell.h"
#include "shell/IdentidadOperador.h"

#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace rm640;
using Modo = MarcadoresSql::Modo;

namespace {

const QString Carga = "PRE-1', Rq_Oper_Autoriza='SOLICITANTE', Rq_Estado='AU' WHERE Rq_Estado='PE' /*";

// On the tests' own SQLite file (false) and on their PostgreSQL (true).
class PruebaSeguridad : public EntornoPrueba, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        if (GetParam()) {
            static ServidorPostgres servidor;
            static int bases = 0;
            if (!servidor.Activo())
                GTEST_SKIP() << servidor.Motivo().toStdString();
            const QString nombre = QStringLiteral("seguridad_%1").arg(++bases);
            ASSERT_TRUE(servidor.CrearBaseDatos(nombre));
            cadena = servidor.CadenaOdbc(nombre);
        }
        EntornoPrueba::SetUp();
        orvinda::ServidorPaginas::Instalar();
        g.parametros["GEN_URL"] = "orvinda://web";
        CargarDemo();
        primero = Valor("SELECT MIN(Rq_Folio) FROM Requisiciones_Compra WHERE Rq_Estado = 'PE'");
    }
    QString DestinoBaseDatos() override { return GetParam() ? cadena : EntornoPrueba::DestinoBaseDatos(); }

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

    // The shell itself, as the operator starts it: exit code, then what it
    // printed and what it traced.
    std::pair<int, QString> Orvinda(QStringList argumentos, const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment())
    {
        const QString traza = carpeta.filePath(QStringLiteral("traza%1.txt").arg(++corridas));
        QProcess p;
        p.setProcessEnvironment(entorno);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QCoreApplication::applicationDirPath() + "/orvinda", argumentos << "--traza" << traza);
        EXPECT_TRUE(p.waitForFinished(120000));
        QFile t(traza);
        t.open(QIODevice::ReadOnly);
        return {p.exitCode(), QString::fromLocal8Bit(p.readAll()) + QString::fromUtf8(t.readAll())};
    }

    QString cadena;
    QString primero;
    int corridas = 0;
};

INSTANTIATE_TEST_SUITE_P(Bases, PruebaSeguridad, ::testing::Values(false, true), [](const auto& i) { return i.param ? "PostgreSQL" : "SQLite"; });

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
    EXPECT_FALSE(orvinda::ImpresorOrvinda::GenerarPdf(QStringLiteral("<body>%1</body>").arg(hostil)).isEmpty());
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
    Ejecutar(QStringLiteral(
        "UPDATE Configuracion_Autorizacion SET Ca_Sql_Autoriazion = REPLACE(Ca_Sql_Autoriazion, '''{MONTO_AUTORIZADO}''', '{MONTO_AUTORIZADO}')"));
    Abrir(primero, [&](frmAutorizacion& d) {
        EXPECT_TRUE(EscribirCampo(d.WebBrowser1(), "MONTO_AUTORIZADO", "1 OR 1=1"));
        d.CmdAutorizado_Click();
    });
    ASSERT_EQ(g.mensajes.size(), 1);
    EXPECT_TRUE(g.mensajes[0].idError == "ERR-ID:7500059" && g.mensajes[0].estilo == 64 && g.mensajes[0].mensaje.contains("'MONTO_AUTORIZADO'"));
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

TEST(MarcadoresSql, CadaValorSeCitaSegunDondeEsta)
{
    struct Caso
    {
        const char* sentencia;
        const char* valor;
        Modo modo;
        const char* esperado; // nullptr: refused
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
    };
    for (const Caso& c : casos) {
        const QString s = QString::fromUtf8(c.sentencia);
        if (!c.esperado) {
            EXPECT_THROW(MarcadoresSql::Sustituir(s, "{V}", QString::fromUtf8(c.valor), "V"), ValorNoAdmitido) << c.sentencia;
            continue;
        }
        const QString r = c.modo == Modo::Citar ? MarcadoresSql::Sustituir(s, "{V}", QString::fromUtf8(c.valor), "V")
                                                : Marcadores::SustituirMarcador(s, "{V}", QString::fromUtf8(c.valor), false);
        EXPECT_EQ(r, QString::fromUtf8(c.esperado)) << c.sentencia;
    }
    // Passes in order: a folio holding a token gets that token's value, quoted too.
    EXPECT_EQ(MarcadoresSql::ExpandirRechazo("'{FOLIO}' {FECHA}", "{OPERADOR}", "O'B", "7", Modo::Citar), "'O''B' 7");
    EXPECT_EQ(MarcadoresSql::Clave("0'1", Modo::Citar), "0''1");
    EXPECT_EQ(MarcadoresSql::Clave("0'1", Modo::Empalmar), "0'1");
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
    const QString archivo = carpeta.filePath("conexion");
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
        if (c.enArchivo) {
            QFile f(archivo);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write((destino + "\n").toUtf8()) > 0 && f.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
            destino = "@" + archivo;
        }
        std::tie(codigo, salida) = Orvinda({"--db", destino, "--captura", carpeta.filePath("c.png")});
        EXPECT_TRUE(codigo == (GetParam() ? 0 : 1) && salida.contains(uid + c.oculta)) << salida.toStdString();
        for (const char* trozo : {"Zorro", "Plata42", "Ma;pa", "che 7"})
            EXPECT_FALSE(salida.contains(trozo)) << trozo << salida.toStdString();
    }
}

TEST(Secretos, ElValorEnteroSeOcultaHastaElPuntoYComaOElFinDeLaLinea)
{
    const struct
    {
        const char* texto;
        const char* oculto;
    } casos[] = {
        {"PWD=Top Secret42", "PWD=***"},
        {"DRIVER={x};PWD=Top Secret42;UID=u", "DRIVER={x};PWD=***;UID=u"},
        {"PWD={a;b}}c}", "PWD=***"},
        {"UID=u;password = {a;b}}c} d;DSN=x", "UID=u;password = ***;DSN=x"},
        {"No se puede abrir DSN=x;Pwd=a b:\n[unixODBC] Data source not found", "No se puede abrir DSN=x;Pwd=***\n[unixODBC] Data source not found"},
        {"DSN=x;UID=u", "DSN=x;UID=u"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(orvinda::Secretos::Ocultar(QString::fromUtf8(c.texto)), QString::fromUtf8(c.oculto)) << c.texto;
}

TEST_P(PruebaSeguridad, LosArchivosPropiosSonPrivadosAunConUmaskCero)
{
    if (GetParam())
        GTEST_SKIP() << "archivos locales";
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert("XDG_DATA_HOME", carpeta.filePath("datos"));
    entorno.insert("ORVINDA_REGISTRO", carpeta.filePath("registro/componentes.ini"));
    const mode_t antes = ::umask(0);
    const auto [codigo, salida] = Orvinda({"--captura", carpeta.filePath("c.png")}, entorno);
    ::umask(antes);
    ASSERT_EQ(codigo, 0) << salida.toStdString();
    const auto modo = [&](const QString& ruta) {
        struct stat d
        {
        };
        return ::stat(QFile::encodeName(carpeta.filePath(ruta)).constData(), &d) == 0 ? int(d.st_mode & 0777) : -1;
    };
    EXPECT_EQ(QList<int>({modo("datos/Orvinda/orvinda"), modo("datos/Orvinda/orvinda/orvinda.db"), modo(QStringLiteral("traza%1.txt").arg(corridas)),
                          modo("registro/componentes.ini")}),
              QList<int>({0700, 0600, 0600, 0600}));

    // A library anyone else could have written is not loaded, and the shell says why.
    const QString copia = carpeta.filePath("librm640.so");
    ASSERT_TRUE(QFile::copy(orvinda::AplicacionShell::BibliotecaIncluida(), copia));
    orvinda::RegistroComponentes::Escribir({"RM640.Pantalla", "{5E0C6D2A-8B1F-4C3A-9D64-0A1B2C3D4E64}", copia});
    const struct
    {
        mode_t modo;
        uid_t dueno;
        const char* motivo;
    } casos[] = {
        {0666, ::geteuid(), "la pueden modificar otros usuarios (permisos 0666)"},
        {0755, 65534, "pertenece a otro usuario (uid 65534)"},
    };
    for (const auto& c : casos) {
        ASSERT_EQ(::chmod(QFile::encodeName(copia).constData(), c.modo), 0);
        if (::chown(QFile::encodeName(copia).constData(), c.dueno, -1) != 0)
            continue; // only root can give a file away
        const auto [fallo, texto] = Orvinda({"--db", carpeta.filePath("datos/Orvinda/orvinda/orvinda.db"), "--desatendido"});
        const QString motivo = QStringLiteral("No se carga la biblioteca del componente %1: %2.").arg(copia, QLatin1String(c.motivo));
        EXPECT_TRUE(fallo == 1 && texto.contains(motivo)) << texto.toStdString();
    }
}
