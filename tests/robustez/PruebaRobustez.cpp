#include "comun/EntornoPrueba.h"
#include "shell/CreacionDemo.h"

#include "host/servicios/RegistroComponentes.h"
#include "review/frmAutorizacion.h"
#include "shell/AplicacionShell.h"
#include "shell/Publico.h"
#include "shell/ServidorPaginas.h"

#include <QFile>
#include <QProcess>
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
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
        GTEST_SKIP() << "falta sqlite3 (paquete sqlite3)";
    CargarDemo();
    orvinda::ServidorPaginas::Instalar();
    g.parametros[QStringLiteral("GEN_URL")] = QStringLiteral("orvinda://web");
    rm640::Publico::Main();
    const QString folio = Valor(QStringLiteral("SELECT MIN(Rq_Folio) FROM Requisiciones_Compra WHERE Rq_Estado = 'PE'"));
    rm640::frmAutorizacion& d = MostrarRequisicionDemo(folio);

    // Another process takes the write lock and keeps it 2 s.
    const QString listo = carpeta.path() + QStringLiteral("/listo");
    QProcess otro;
    otro.start(QStringLiteral("sqlite3"), {DestinoBaseDatos()});
    otro.write(QStringLiteral("BEGIN IMMEDIATE;\n.shell touch %1\n.shell sleep 2\nCOMMIT;\n").arg(listo).toUtf8());
    otro.closeWriteChannel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(listo); }, 10000));

    d.CmdAutorizado_Click();
    EXPECT_TRUE(g.mensajes.isEmpty()) << g.mensajes.value(0).mensaje.toStdString();
    EXPECT_EQ(Valor(QStringLiteral("SELECT Rq_Estado FROM Requisiciones_Compra WHERE Rq_Folio = '%1'").arg(folio)), QStringLiteral("AU"));
    otro.waitForFinished(10000);
    EXPECT_EQ(otro.exitCode(), 0) << otro.readAllStandardError().toStdString();
}

TEST_F(PruebaRobustez, CadaArchivoDanadoSeDiceAlArrancar)
{
    const QString demo = carpeta.path() + QStringLiteral("/demo.db");
    CreacionDemo::Crear(demo);
    const QString registro = qEnvironmentVariable("ORVINDA_REGISTRO");
    const QString soloLectura = carpeta.path() + QStringLiteral("/lectura.db");
    QFile::copy(demo, soloLectura);
    QFile::setPermissions(soloLectura, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString ajena = carpeta.path() + QStringLiteral("/ajena.db");
    orvinda::Conexion::Abrir(ajena)->Execute(QStringLiteral("CREATE TABLE Clientes (Id INTEGER)"));
    QFile incluida(AplicacionShell::BibliotecaIncluida());
    ASSERT_TRUE(incluida.open(QIODevice::ReadOnly));
    const QString truncada = Archivo(QStringLiteral("librm640.so"), incluida.read(incluida.size() / 2));
    const QString conTruncada = carpeta.path() + QStringLiteral("/truncada.ini");
    qputenv("ORVINDA_REGISTRO", conTruncada.toLocal8Bit());
    orvinda::RegistroComponentes::Escribir({QStringLiteral("RM640.Pantalla"), QStringLiteral("{5E0C6D2A-8B1F-4C3A-9D64-0A1B2C3D4E64}"), truncada});
    const QString basura = Archivo(QStringLiteral("basura.ini"), QByteArray("[ProgID]\n\x7f\x01\x02 binario\0\n", 22));
    const QString sinPermiso = Archivo(QStringLiteral("archivo"), "x") + QStringLiteral("/componentes.ini");

    const struct
    {
        QString db, registro;
        int codigo;
        QString mensaje;
    } casos[] = {
        {Archivo(QStringLiteral("vacia.db"), {}), registro, 1,
         QStringLiteral("vacia.db está vacía o no es un archivo: no es una base de datos de Orvinda. Cree la base de demostración con: orvinda --crear-demo ")},
        {QStringLiteral("/dev/null"), registro, 1, QStringLiteral("/dev/null está vacía o no es un archivo")},
        {ajena, registro, 1,
         QStringLiteral("ajena.db no tiene las tablas de Orvinda (faltan Configuracion_Autorizacion, Parametros_Generales, "
                        "Operadores, Comentarios_Documento). Cree la base de demostración con: orvinda --crear-demo ARCHIVO_NUEVO")},
        {demo, conTruncada, 1, QStringLiteral("La biblioteca del componente %1 está dañada (el archivo está truncado)").arg(truncada)},
        {demo, basura, 1, QStringLiteral("El registro de componentes %1 está dañado (línea 2)").arg(basura)},
        {demo, sinPermiso, 1, QStringLiteral("No se puede escribir el registro de componentes %1.").arg(sinPermiso)},
        {soloLectura, registro, -1, QStringLiteral("La base de datos %1 es de solo lectura").arg(soloLectura)},
    };
    for (const auto& c : casos) {
        qputenv("ORVINDA_REGISTRO", c.registro.toLocal8Bit());
        orvinda::OpcionesShell o;
        o.baseDatos = c.db;
        o.traza = carpeta.path() + QStringLiteral("/traza.txt");
        o.desatendido = true;
        QFile::remove(o.traza);
        AplicacionShell shell(o);
        EXPECT_EQ(shell.Iniciar(), c.codigo) << c.db.toStdString();
        EXPECT_TRUE(LeerArchivo(o.traza).contains(c.mensaje)) << LeerArchivo(o.traza).toStdString();
        if (c.codigo < 0) {
            // Writing is refused before the statement is sent.
            EXPECT_EQ(DescripcionDe([&] { shell.ObtenerConexion()->Execute(QStringLiteral("UPDATE Operadores SET Op_Nivel = 0")); }),
                      QStringLiteral("No se intentó escribir: la base de datos es de solo lectura."));
        }
    }
    EXPECT_EQ(LeerArchivo(soloLectura), LeerArchivo(demo));
}

TEST_F(PruebaRobustez, SinPantallaAyudaVersionYCrearDemo)
{
    const QString nueva = carpeta.path() + QStringLiteral("/nueva.db");
    const QString conVista = carpeta.path() + QStringLiteral("/vista.db");
    orvinda::Conexion::Abrir(conVista)->Execute(QStringLiteral("CREATE VIEW Empleados AS SELECT 1 AS Em_Cve_Empleado"));
    const struct
    {
        QStringList argumentos;
        int codigo;
        QString salida;
        bool offscreen = false;
    } casos[] = {
        {{QStringLiteral("--help")}, 0, QStringLiteral("Códigos de salida: 0 terminó bien; 1 ")},
        {{QStringLiteral("--version")}, 0, QStringLiteral("orvinda 1.0")},
        {{QStringLiteral("--crear-demo"), nueva}, 0, QStringLiteral("Base de demostración creada en ") + nueva},
        {{QStringLiteral("--crear-demo"), nueva}, 1, QStringLiteral("ya tiene tablas (")},
        // Fails half-way: the view stands where a table should be filled.
        {{QStringLiteral("--crear-demo"), conVista}, 1, QStringLiteral("orvinda: No se pudo crear la base de demostración: ")},
        {{QStringLiteral("--crear-demo"), carpeta.path() + QStringLiteral("/falta/x.db")}, 1, QStringLiteral("/falta no existe")},
        {{QStringLiteral("--nivel"), QStringLiteral("x")}, 2, QStringLiteral("--nivel espera un número entero no negativo.")},
        // With a screen nobody sees, the failure is said on stderr, not in a box that waits.
        {{QStringLiteral("--db"), QStringLiteral("/dev/null")}, 1, QStringLiteral("orvinda: La base de datos /dev/null está vacía"), true},
    };
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        entorno.remove(QString::fromLatin1(v));
    for (const auto& c : casos) {
        QProcess p;
        QProcessEnvironment e = entorno;
        if (c.offscreen)
            e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(e);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/orvinda"), c.argumentos);
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString salida = QString::fromUtf8(p.readAll());
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << salida.toStdString();
        EXPECT_EQ(p.exitCode(), c.codigo) << salida.toStdString();
        EXPECT_TRUE(salida.contains(c.salida)) << salida.toStdString();
    }
    // The failed creation left the file as it was, and no other.
    EXPECT_EQ(orvinda::Conexion::Abrir(conVista)
                  ->Execute(QStringLiteral("SELECT group_concat(name) FROM sqlite_master WHERE name NOT LIKE 'sqlite%'"))
                  .Fields(0)
                  .Texto(),
              QStringLiteral("Empleados"));
    EXPECT_FALSE(QFile::exists(carpeta.path() + QStringLiteral("/falta")));
}
