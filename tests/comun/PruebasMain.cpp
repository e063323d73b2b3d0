#include "servicios/ServidorPaginas.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Every test runs inside one QApplication, offscreen, with the per-user
// folders (settings, component registry, data) redirected away from the
// real user's.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The shell's page scheme exists before the browser engine starts.
    orvinda::ServidorPaginas::RegistrarEsquema();
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("OrvindaPruebas");
    QCoreApplication::setApplicationName("rm640-pruebas");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
