#include "host/datos/Secretos.h"
#include "host/servicios/CargadorComponentes.h"
#include "host/servicios/RegistroComponentes.h"
#include "seguridad/PruebaConShell.h"
#include "shell/AplicacionShell.h"
#include "shell/CreacionDemo.h"

#include <QDir>
#include <QFileInfo>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The user's own files on this machine.
using PruebaArchivos = PruebaConShell;

} // namespace

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

TEST_F(PruebaArchivos, LosArchivosPropiosSonPrivadosAunConUmaskCero)
{
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
    // A folder the user named, shared like /tmp, keeps its mode.
    ASSERT_TRUE(QDir(carpeta.path()).mkdir("compartida"));
    ::chmod(QFile::encodeName(carpeta.filePath("compartida")).constData(), 01777);
    entorno.insert("ORVINDA_REGISTRO", carpeta.filePath("compartida/componentes.ini"));
    ASSERT_EQ(Orvinda({"--captura", carpeta.filePath("c.png")}, entorno).first, 0);
    struct stat d
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(carpeta.filePath("compartida")).constData(), &d), 0);
    EXPECT_EQ(d.st_mode & 07777, 01777u);

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

TEST_F(PruebaArchivos, UnArchivoEnlazadoAjenoOQueOtrosPuedenCambiarSeRechazaSinTocarlo)
{
    const QString demo = carpeta.filePath("demo.db");
    orvinda::CreacionDemo::Crear(demo);
    enum Cual { Traza, Registro, BaseDatos, ArchivoConexion };
    // Each file is tried as a link to a private file of this user's, as
    // another user's, and open to others in a way its kind does not allow.
    const struct
    {
        Cual cual;
        const char* mensaje;
        mode_t abierto;
        const char* motivoAbierto;
    } tipos[] = {
        {Traza, "No se puede escribir la traza %1: %2", 0666, "la pueden modificar otros usuarios (permisos 0666)"},
        {Registro, "No se usa el registro de componentes %1: %2.", 0620, "la pueden modificar otros usuarios (permisos 0620)"},
        {BaseDatos, "No se abre la base de datos %1: %2.", 0666, "la pueden modificar otros usuarios (permisos 0666)"},
        {ArchivoConexion, "No se usa el archivo de conexión %1: %2.", 0640, "la pueden leer otros usuarios (permisos 0640)"},
    };
    const auto estado = [](const QString& ruta) {
        QFile f(ruta);
        return std::make_tuple(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(), int(f.permissions()), QFileInfo(ruta).ownerId());
    };
    int i = 0;
    for (const auto& t : tipos) {
        const struct
        {
            mode_t modo; // 0: a link
            uid_t dueno;
            const char* motivo;
        } defectos[]
            = {{0, ::geteuid(), "es un enlace simbólico"}, {0600, 65534, "pertenece a otro usuario (uid 65534)"}, {t.abierto, ::geteuid(), t.motivoAbierto}};
        for (const auto& d : defectos) {
            const QString ruta = carpeta.filePath(QStringLiteral("caso%1").arg(++i));
            const QString objetivo = d.modo ? ruta : ruta + ".objetivo";
            QFile f(objetivo);
            const QByteArray contenido = t.cual == Traza ? "original\n" : t.cual == Registro ? "[ProgID]\nRM640.Pantalla=x\n" : (demo + "\n").toUtf8();
            ASSERT_TRUE(t.cual == BaseDatos ? QFile::copy(demo, objetivo) : f.open(QIODevice::WriteOnly) && f.write(contenido) > 0);
            f.close();
            const QByteArray nativo = QFile::encodeName(objetivo);
            ASSERT_EQ(::chmod(nativo.constData(), d.modo ? d.modo : 0600), 0);
            if (::chown(nativo.constData(), d.dueno, -1) != 0)
                continue; // only root can give a file away
            ASSERT_TRUE(d.modo || ::symlink(nativo.constData(), QFile::encodeName(ruta).constData()) == 0);
            const auto antes = estado(objetivo);

            QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
            QStringList argumentos = {"--db", demo, "--desatendido"};
            if (t.cual == Traza)
                argumentos << "--traza" << ruta;
            else if (t.cual == Registro)
                entorno.insert("ORVINDA_REGISTRO", ruta);
            else
                argumentos[1] = t.cual == BaseDatos ? ruta : "@" + ruta;
            const auto [codigo, salida] = Orvinda(argumentos, entorno);
            EXPECT_TRUE(codigo == 1 && salida.contains(QString::fromUtf8(t.mensaje).arg(ruta, QString::fromUtf8(d.motivo)))) << salida.toStdString();
            EXPECT_TRUE(estado(objetivo) == antes) << ruta.toStdString();
        }
    }

    // A private file is read, and what it names is used, by --db and --crear-demo alike.
    const auto [codigo, salida] = Orvinda({"--db", ConexionPrivada("conexion", demo), "--captura", carpeta.filePath("c.png")});
    EXPECT_TRUE(codigo == 0 && salida.contains("sobre " + demo)) << salida.toStdString();
    const QString nueva = carpeta.filePath("nueva.db");
    const auto [codigoDemo, salidaDemo] = Orvinda({"--crear-demo", ConexionPrivada("conexion-demo", nueva)});
    EXPECT_TRUE(codigoDemo == 0 && QFileInfo(nueva).size() > 0) << salidaDemo.toStdString();
}

TEST_F(PruebaArchivos, LaBibliotecaCorreDelDescriptorQueSeComprobo)
{
    const QString copia = carpeta.filePath("librm640.so");
    ASSERT_TRUE(QFile::copy(orvinda::AplicacionShell::BibliotecaIncluida(), copia));
    const QString enlace = carpeta.filePath("enlace.so");
    ASSERT_EQ(::symlink(QFile::encodeName(copia).constData(), QFile::encodeName(enlace).constData()), 0);
    const QString clsid = "{5E0C6D2A-8B1F-4C3A-9D64-0A1B2C3D4E64}";
    orvinda::RegistroComponentes::Escribir({"RM640.Pantalla", clsid, enlace});
    EXPECT_EQ(DescripcionDe([] { orvinda::CargadorComponentes::CrearObjeto("RM640.Pantalla"); }),
              QStringLiteral("No se carga la biblioteca del componente %1: es un enlace simbólico.").arg(enlace));

    orvinda::RegistroComponentes::Escribir({"RM640.Pantalla", clsid, copia});
    std::unique_ptr<QObject> pantalla = orvinda::CargadorComponentes::CrearObjeto("RM640.Pantalla");
    // Mapped under the name of a descriptor, and that descriptor is the copy:
    // a file put in its place after the check would not be what runs.
    QStringList nombres;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* datos) {
            static_cast<QStringList*>(datos)->append(QString::fromLocal8Bit(info->dlpi_name));
            return 0;
        },
        &nombres);
    const QStringList descriptores = nombres.filter(QRegularExpression("^/proc/self/fd/\\d+$"));
    EXPECT_TRUE(std::any_of(descriptores.begin(), descriptores.end(), [&](const QString& n) {
        return QFileInfo(n).symLinkTarget() == QFileInfo(copia).canonicalFilePath();
    })) << nombres.join(' ').toStdString();
    delete pantalla->property("GetPantalla").value<QObject*>();
    pantalla.reset();
    EXPECT_EQ(orvinda::CargadorComponentes::LiberarBibliotecasSinUso(), 1);
}
