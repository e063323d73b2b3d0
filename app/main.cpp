#include "servicios/ServidorPaginas.h"
#include "shell/AplicacionShell.h"
#include "shell/OpcionesShell.h"
#include "shell/VerificacionInicio.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Nombrar()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvinda"));
    QCoreApplication::setApplicationName(QStringLiteral("orvinda"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RM640_VERSION));
}

// The shell speaks Spanish, and so do Qt's own pieces of it: the file
// chooser, a text field's context menu, a dialog's standard buttons.
void Traducir(QApplication& app)
{
    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(QLocale::Spanish, QLocale::Mexico), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qt);
}

} // namespace

int main(int argc, char* argv[])
{
    // --help, --version and --crear-demo run before any window system is
    // touched: an administrator on a server has no display.
    QStringList argumentos;
    for (int i = 0; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    if (orvinda::OpcionesShell::Leer(argumentos).SinVentana()) {
        QCoreApplication app(argc, argv);
        Nombrar();
        orvinda::AplicacionShell shell(orvinda::OpcionesShell::Leer(app.arguments()));
        return shell.Iniciar();
    }

    // Without a display Qt would abort the process: it is said, and the exit
    // code is the one --help lists.
    if (const QString motivo = orvinda::VerificacionInicio::SinPantalla(argumentos); !motivo.isEmpty()) {
        std::fprintf(stderr, "orvinda: %s\n", qPrintable(motivo));
        return orvinda::OpcionesShell::SalidaFallo;
    }

    // The embedded browser refuses to start its sandbox as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Whatever the shell creates (database, trace, registry, printed
    // documents) is the user's alone, from the moment it exists.
    umask(umask(0) | 077);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    orvinda::ServidorPaginas::RegistrarEsquema();
    QApplication app(argc, argv);
    Nombrar();
    Traducir(app);

    orvinda::AplicacionShell shell(orvinda::OpcionesShell::Leer(app.arguments()));
    const int codigo = shell.Iniciar();
    if (codigo >= 0)
        return codigo;
    return app.exec();
}
