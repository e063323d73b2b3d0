#include "comun/EntornoPrueba.h"
#include "shell/CreacionDemo.h"

#include "host/servicios/RegistroComponentes.h"
#include "publico/Publico.h"
#include "review/frmAutorizacion.h"
#include "servicios/ServidorPaginas.h"
#include "shell/AplicacionShell.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest/QTest>

namespace {

using orvinda::AplicacionShell;
using orvinda::CreacionDemo;

class PruebaRobustez : public EntornoPrueba
{
protected:
    QString Archivo(const QString& nombre, const QByteArray& contenido)
    {
        const QString ruta = carpeta.path() + u'/' + nombre;
        QFile f(ruta);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(contenido) == contenido.size());
        return ruta;
    }
};

} // namespace

TEST_F(PruebaRobustez, OtroProcesoRetieneElArchivoYLaAutorizacionEspera)
{
    if (QStandardPaths::findExecutable("sqlite3").isEmpty())
        GTEST_SKIP() << "falta sqlite3 (paquete sqlite3)";
    CargarDemo();
    orvinda::ServidorPaginas::Instalar();
    g.parametros["GEN_URL"] = "orvinda://web";
    rm640::Publico::Main();
    const QString folio = Valor("SELECT MIN(Rq_Folio) FROM Requisiciones_Compra WHERE Rq_Estado = 'PE'");
    rm640::frmAutorizacion& d = MostrarRequisicionDemo(folio);

    // Another process takes the write lock and keeps it 2 s.
    const QString listo = carpeta.path() + "/listo";
    QProcess otro;
    otro.start("sqlite3", {DestinoBaseDatos()});
    otro.write(QStringLiteral("BEGIN IMMEDIATE;\n.shell touch %1\n.shell sleep 2\nCOMMIT;\n").arg(listo).toUtf8());
    otro.closeWriteChannel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(listo); }, 10000));

    d.CmdAutorizado_Click();
    EXPECT_TRUE(g.mensajes.isEmpty()) << g.mensajes.value(0).mensaje.toStdString();
    EXPECT_EQ(Valor(QStringLiteral("SELECT Rq_Estado FROM Requisiciones_Compra WHERE Rq_Folio = '%1'").arg(folio)), "AU");
    otro.waitForFinished(10000);
    EXPECT_EQ(otro.exitCode(), 0) << otro.readAllStandardError().toStdString();
}

TEST_F(PruebaRobustez, CadaArchivoDanadoSeDiceAlArrancar)
{
    const QString demo = carpeta.path() + "/demo.db";
    CreacionDemo::Crear(demo);
    const QString registro = qEnvironmentVariable("ORVINDA_REGISTRO");
    const QString soloLectura = carpeta.path() + "/lectura.db";
    QFile::copy(demo, soloLectura);
    QFile::setPermissions(soloLectura, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString ajena = carpeta.path() + "/ajena.db";
    orvinda::Conexion::Abrir(ajena)->Execute("CREATE TABLE Clientes (Id INTEGER)");
    QFile incluida(AplicacionShell::BibliotecaIncluida());
    ASSERT_TRUE(incluida.open(QIODevice::ReadOnly));
    const QString truncada = Archivo("librm640.so", incluida.read(incluida.size() / 2));
    const QString conTruncada = carpeta.path() + "/truncada.ini";
    qputenv("ORVINDA_REGISTRO", conTruncada.toLocal8Bit());
    orvinda::RegistroComponentes::Escribir({"RM640.Pantalla", "{5E0C6D2A-8B1F-4C3A-9D64-0A1B2C3D4E64}", truncada});
    const QString basura = Archivo("basura.ini", QByteArray("[ProgID]\n\x7f\x01\x02 binario\0\n", 22));
    const QString sinPermiso = Archivo("archivo", "x") + "/componentes.ini";
    // Left registered by another build: the shell registers its own and starts.
    const QString conOtraVersion = carpeta.path() + "/otra.ini";
    const QString otraVersion = QCoreApplication::applicationDirPath() + "/librm640_otra_version.so";
    qputenv("ORVINDA_REGISTRO", conOtraVersion.toLocal8Bit());
    orvinda::RegistroComponentes::Escribir({"RM640.Pantalla", "{5E0C6D2A-8B1F-4C3A-9D64-0A1B2C3D4E64}", otraVersion});

    const struct
    {
        QString db, registro;
        int codigo;
        QString mensaje;
    } casos[] = {
        {Archivo("vacia.db", {}), registro, 1,
         "vacia.db está vacía o no es un archivo: no es una base de datos de Orvinda. Cree la base de demostración con: orvinda --crear-demo "},
        {"/dev/null", registro, 1, "/dev/null está vacía o no es un archivo"},
        {ajena, registro, 1,
         QStringLiteral("ajena.db no tiene las tablas de Orvinda (faltan Configuracion_Autorizacion, Parametros_Generales, "
                        "Operadores, Comentarios_Documento). Cree la base de demostración con: orvinda --crear-demo ARCHIVO_NUEVO")},
        {demo, conTruncada, 1, QStringLiteral("La biblioteca del componente %1 está dañada (el archivo está truncado)").arg(truncada)},
        {demo, basura, 1, QStringLiteral("El registro de componentes %1 está dañado (línea 2)").arg(basura)},
        {demo, sinPermiso, 1, QStringLiteral("No se usa el registro de componentes %1: una parte de la ruta no es una carpeta.").arg(sinPermiso)},
        {demo, conOtraVersion, -1,
         QStringLiteral("El componente RM640.Pantalla registrado en %1 es de la versión 0.9 y el shell de la 1.0: se registra %2.")
             .arg(otraVersion, AplicacionShell::BibliotecaIncluida())},
        {soloLectura, registro, -1, QStringLiteral("La base de datos %1 es de solo lectura").arg(soloLectura)},
    };
    for (const auto& c : casos) {
        qputenv("ORVINDA_REGISTRO", c.registro.toLocal8Bit());
        orvinda::OpcionesShell o;
        o.baseDatos = c.db;
        o.traza = carpeta.path() + "/traza.txt";
        o.desatendido = true;
        QFile::remove(o.traza);
        AplicacionShell shell(o);
        EXPECT_TRUE(shell.Iniciar() == c.codigo && LeerArchivo(o.traza).contains(c.mensaje)) << c.db.toStdString() << LeerArchivo(o.traza).toStdString();
        if (c.db == soloLectura) {
            // Writing is refused before the statement is sent.
            EXPECT_EQ(DescripcionDe([&] { shell.ObtenerConexion()->Execute("UPDATE Operadores SET Op_Nivel = 0"); }),
                      "No se intentó escribir: la base de datos es de solo lectura.");
        }
    }
    EXPECT_EQ(LeerArchivo(soloLectura), LeerArchivo(demo));
    qputenv("ORVINDA_REGISTRO", conOtraVersion.toLocal8Bit());
    EXPECT_EQ(orvinda::RegistroComponentes::Buscar("RM640.Pantalla")->biblioteca, AplicacionShell::BibliotecaIncluida());
}

TEST_F(PruebaRobustez, SinPantallaAyudaVersionYCrearDemo)
{
    const QString nueva = carpeta.path() + "/nueva.db";
    const QString conVista = carpeta.path() + "/vista.db";
    orvinda::Conexion::Abrir(conVista)->Execute("CREATE VIEW Empleados AS SELECT 1 AS Em_Cve_Empleado");
    const struct
    {
        QStringList argumentos;
        int codigo;
        QString salida;
        bool offscreen = false;
    } casos[] = {
        {{"--help"}, 0, "Códigos de salida: 0 terminó bien; 1 "},
        {{"--version"}, 0, "orvinda 1.0"},
        {{"--crear-demo", nueva}, 0, "Base de demostración creada en " + nueva},
        {{"--crear-demo", nueva}, 1, "ya tiene tablas ("},
        // Fails half-way: the view stands where a table should be filled.
        {{"--crear-demo", conVista}, 1, "orvinda: No se pudo crear la base de demostración: "},
        {{"--crear-demo", carpeta.path() + "/falta/x.db"}, 1, "/falta no existe"},
        {{"--nivel", "x"}, 2, "--nivel espera un número entero no negativo."},
        // Qt would abort (134) for want of a display.
        {{"--db", "x"}, 1, "orvinda: No hay pantalla (DISPLAY y WAYLAND_DISPLAY están vacías) y la bandeja necesita una."},
        // With a screen nobody sees, the failure is said on stderr, not in a box that waits.
        {{"--db", "/dev/null"}, 1, "orvinda: La base de datos /dev/null está vacía", true},
    };
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        entorno.remove(QString::fromLatin1(v));
    for (const auto& c : casos) {
        QProcess p;
        QProcessEnvironment e = entorno;
        if (c.offscreen)
            e.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(e);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QCoreApplication::applicationDirPath() + "/orvinda", c.argumentos);
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString salida = QString::fromUtf8(p.readAll());
        EXPECT_TRUE(p.exitStatus() == QProcess::NormalExit && p.exitCode() == c.codigo && salida.contains(c.salida)) << salida.toStdString();
    }
    // The failed creation left the file as it was, and no other.
    EXPECT_EQ(orvinda::Conexion::Abrir(conVista)->Execute("SELECT group_concat(name) FROM sqlite_master WHERE name NOT LIKE 'sqlite%'").Fields(0).Texto(),
              "Empleados");
    EXPECT_FALSE(QFile::exists(carpeta.path() + "/falta"));
}

TEST_F(PruebaRobustez, UnDiscoLlenoSeNombraAlArrancar)
{
    // The home on a small disk of its own, mounted for the shell alone.
    QProcess prueba;
    prueba.start("unshare", {"-m", "true"});
    if (!prueba.waitForFinished(10000) || prueba.exitStatus() != QProcess::NormalExit || prueba.exitCode() != 0)
        GTEST_SKIP() << "no se puede crear un espacio de montajes (unshare -m)";
    const QString demo = carpeta.path() + "/demo.db";
    CreacionDemo::Crear(demo);
    const QString disco = carpeta.path() + "/disco";
    ASSERT_TRUE(QDir().mkpath(disco));
    const struct
    {
        const char* opciones;
        bool lleno; // filled up before the shell starts
        QStringList argumentos;
        QString mensaje;
    } casos[] = {
        {"size=64k,nr_inodes=2", false, {}, "No se puede crear la carpeta de datos " + disco + "/Orvinda/orvinda: el disco está lleno."},
        {"size=64k", false, {}, "No se pudo crear la base de demostración " + disco + "/Orvinda/orvinda/orvinda.db: el disco está lleno ("},
        {"size=16k", true, {"--db", demo}, "No se puede escribir el registro de componentes " + disco + "/componentes.ini: el disco está lleno."},
    };
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert("XDG_DATA_HOME", disco);
    entorno.insert("ORVINDA_REGISTRO", disco + "/componentes.ini");
    for (const auto& c : casos) {
        const QString guion = QStringLiteral("mount -t tmpfs -o %1 tmpfs \"$0\" || exit 77; %2 exec \"$@\"")
                                  .arg(QLatin1String(c.opciones), c.lleno ? "cat /dev/zero > \"$0/relleno\" 2> /dev/null;" : "");
        QProcess p;
        p.setProcessEnvironment(entorno);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start("unshare", QStringList{"-m", "sh", "-c", guion, disco, QCoreApplication::applicationDirPath() + "/orvinda", "--desatendido"} + c.argumentos);
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString salida = QString::fromUtf8(p.readAll());
        if (p.exitCode() == 77)
            GTEST_SKIP() << "no se puede montar un tmpfs: " << salida.toStdString();
        EXPECT_TRUE(p.exitCode() == 1 && salida.contains(c.mensaje) && !salida.contains("DllRegisterServer")) << salida.toStdString();
    }
}

// --captura waits for the screen's own word that it is filled: a tab of
// 200,000 documents is in the picture whole, never half-read.
TEST_F(PruebaRobustez, LaCapturaEsperaALaBandejaLlena)
{
    const QString demo = carpeta.path() + "/grande.db";
    CreacionDemo::Crear(demo);
    orvinda::Conexion::Abrir(demo)->Execute(
        "INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion, Ca_Etiqueta, Ca_Sql) VALUES ('0005', 'Muchos', "
        "'WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000) SELECT printf(''F-%06d'', i) AS Folio FROM n')");
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(e);
    const QString traza = carpeta.path() + "/captura.txt";
    p.start(QCoreApplication::applicationDirPath() + "/orvinda", {"--db", demo, "--captura", carpeta.path() + "/c.png", "--traza", traza});
    ASSERT_TRUE(p.waitForFinished(120000) && p.exitCode() == 0) << p.readAllStandardError().toStdString();
    const QRegularExpressionMatch m = QRegularExpression("Captura .*: (\\d+) filas").match(LeerArchivo(traza));
    ASSERT_TRUE(m.hasMatch()) << LeerArchivo(traza).toStdString();
    EXPECT_GE(m.captured(1).toLongLong(), 200000);
    EXPECT_TRUE(QFile(carpeta.path() + "/c.png").size() > 0);
}
