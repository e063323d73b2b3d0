#include <QCoreApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// The tests of the layers without widgets run in a plain QCoreApplication,
// with the per-user folders redirected away from the real user's.
int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("OrvindaPruebas");
    QCoreApplication::setApplicationName("rm640-pruebas");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
