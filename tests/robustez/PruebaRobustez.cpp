#include "comun/EntornoPrueba.h"

#include "review/frmAutorizacion.h"
#include "shell/Publico.h"
#include "shell/ServidorPaginas.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest/QTest>

namespace {

class PruebaRobustez : public EntornoPrueba
{
protected:
    void TearDown() override
    {
        rm640::frmAutorizacion::Unload();
        EntornoPrueba::TearDown();
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
