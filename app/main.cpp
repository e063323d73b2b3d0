#include "shell/AplicacionShell.h"
#include "shell/OpcionesShell.h"
#include "shell/ServidorPaginas.h"

#include <QApplication>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char* argv[])
{
    // The embedded browser refuses to start its sandbox as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Whatever the shell creates (database, trace, registry, printed
    // documents) is the user's alone, from the moment it exists.
    umask(umask(0) | 077);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    orvinda::ServidorPaginas::RegistrarEsquema();
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvinda"));
    QCoreApplication::setApplicationName(QStringLiteral("orvinda"));

    orvinda::AplicacionShell shell(orvinda::OpcionesShell::Leer(app.arguments()));
    const int codigo = shell.Iniciar();
    if (codigo >= 0)
        return codigo;
    return app.exec();
}
