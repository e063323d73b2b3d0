#include "servidor/EntornoServidor.h"

#include "comun/Errores.h"
#include "host/controles/ListView.h"
#include "host/controles/SSTab.h"
#include "inbox/frmRM640.h"
#include "servicios/UtileriasOrvinda.h"
#include "shell/AplicacionShell.h"
#include "shell/Publico.h"

using PruebaServidor = EntornoServidor;

TEST_F(PruebaServidor, LaBaseDeDemostracionSeCreaYLaBandejaSeLlenaSobreElServidor)
{
    // What --crear-demo does with a connection string.
    orvinda::AplicacionShell::CrearDemo(cadena);
    EXPECT_EQ(Valor(QStringLiteral("SELECT COUNT(*) FROM Configuracion_Autorizacion WHERE Es_Cve_Estado = 'AC'")), QStringLiteral("3"));
    EXPECT_THROW(orvinda::AplicacionShell::CrearDemo(cadena), std::runtime_error);

    rm640::Publico::Main();
    auto& f = rm640::frmRM640::Instancia();
    f.Form_Load();
    conexion->LimpiarBitacora();
    f.Form_Activate();
    EXPECT_TRUE(g.mensajes.isEmpty()) << g.mensajes.value(0).mensaje.toStdString();
    ASSERT_TRUE(f.Cargado());
    EXPECT_EQ(f.SSTab().Tabs(), 3);
    int documentos = 0;
    for (int i = 0; i < 3; ++i)
        documentos += f.lvInsidencias(i).ListItemsCount();
    EXPECT_EQ(documentos, 120 + 80 + 60);
    EXPECT_EQ(conexion->Bitacora().first(), QStringLiteral(
        " SELECT  Ca_Cve_Configuracion_Autorizacion as ID,  Ca_Etiqueta ,  Ca_Sql   FROM Configuracion_Autorizacion  where  Es_Cve_Estado <> 'BA' "));
}

TEST_F(PruebaServidor, ComillasDoblesTransaccionesYFechaDelServidor)
{
    const QString sql = QStringLiteral("SELECT Folio FROM Docs WHERE Estado <> 'BA' AND Nota = \"x\"");
    conexion->BeginTrans();
    conexion->Execute(QStringLiteral("SET QUOTED_IDENTIFIER OFF"));
    conexion->Execute(QStringLiteral("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion, Ca_Sql) VALUES ('0001', \"")
                      + QString(sql).replace(u'"', QLatin1String("\"\"")) + QStringLiteral("\")"));
    conexion->Execute(QStringLiteral("SET QUOTED_IDENTIFIER ON"));
    conexion->CommitTrans();
    EXPECT_EQ(Valor(QStringLiteral("SELECT Ca_Sql FROM Configuracion_Autorizacion")), sql);
    EXPECT_EQ(Valor(QStringLiteral("SELECT Es_Cve_Estado FROM Configuracion_Autorizacion")), QStringLiteral("AC"));

    conexion->BeginTrans();
    conexion->Execute(QStringLiteral("UPDATE Configuracion_Autorizacion SET Ca_Sql = 'otra'"));
    EXPECT_FALSE(DescripcionDe([&] { conexion->Execute(QStringLiteral("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion) VALUES ('0001')")); })
                     .isEmpty());
    conexion->RollbackTrans();
    EXPECT_EQ(Valor(QStringLiteral("SELECT Ca_Sql FROM Configuracion_Autorizacion")), sql);

    orvinda::UtileriasOrvinda u(*conexion, QStringLiteral("ADMIN"));
    conexion->LimpiarBitacora();
    EXPECT_TRUE(u.FechaServidor().isValid());
    EXPECT_EQ(conexion->Bitacora(), QStringList{QStringLiteral("SELECT LOCALTIMESTAMP")});
    EXPECT_EQ(u.SiguienteClave(QStringLiteral("Configuracion_Autorizacion"), QStringLiteral("Ca_Cve_Configuracion_Autorizacion"), {}, {}, {}, {}, {}, {}, {}), 2);
}
