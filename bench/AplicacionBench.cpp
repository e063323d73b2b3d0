#include "AplicacionBench.h"

#include "shell/ServidorPaginas.h"

#include <unistd.h>

AplicacionBench::AplicacionBench(int& argc, char** argv)
    : QApplication(Preparar(argc), argv)
{
}

int& AplicacionBench::Preparar(int& argc)
{
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Before the engine starts, as in the shell.
    orvinda::ServidorPaginas::RegistrarEsquema();
    return argc;
}
