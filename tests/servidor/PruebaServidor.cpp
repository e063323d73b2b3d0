#include "servidor/EntornoServidor.h"

#include "config/ConfiguracionAutorizacion.h"
#include "editor/Verificacion.h"
#include "editor/frmConfiguracion.h"
#include "host/controles/ListView.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/SSTab.h"
#include "host/controles/txtVEX.h"
#include "inbox/frmRM640.h"
#include "review/frmRechazar.h"
#include "servicios/UtileriasOrvinda.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using PruebaServidor = EntornoServidor;

TEST_F(PruebaServidor, BandejaRechazoYMantenimientoSobreLaBaseDeDemostracion)
{
    // The inbox over what --crear-demo writes.
    auto& f = rm640::frmRM640::Instancia();
    f.Form_Load();
    conexion->LimpiarBitacora();
    Activar(f);
    EXPECT_TRUE(g.mensajes.isEmpty()) << g.mensajes.value(0).mensaje.toStdString();
    ASSERT_TRUE(f.Cargado() && f.SSTab().Tabs() == 3);
    EXPECT_EQ(f.lvInsidencias(0).ListItemsCount() + f.lvInsidencias(1).ListItemsCount() + f.lvInsidencias(2).ListItemsCount(), 120 + 80 + 60);
    EXPECT_EQ(conexion->Bitacora().first(),
              QStringLiteral(
                  " SELECT  Ca_Cve_Configuracion_Autorizacion as ID,  Ca_Etiqueta ,  Ca_Sql   FROM Configuracion_Autorizacion  where  Es_Cve_Estado <> 'BA' "));

    // A rejection with its comment.
    const QString orden = Valor("SELECT MIN(Oc_Folio) FROM Ordenes_Compra WHERE Oc_Estado = 'PE'");
    rm640::frmRechazar& rechazo = MostrarRechazo("ORDENES_COMPRA", orden, "0002", "Proveedor sin alta fiscal");
    rechazo.cmdAceptar_Click();
    EXPECT_TRUE(rechazo.Procesado());
    EXPECT_EQ(Valor(QStringLiteral("SELECT Oc_Estado FROM Ordenes_Compra WHERE Oc_Folio = '%1'").arg(orden)), "RE");
    EXPECT_EQ(g.comentarios.last(), QStringLiteral("ORDENES_COMPRA|%1|Proveedor sin alta fiscal").arg(orden));

    // An update whose statements hold apostrophes and double quotes.
    rm640::frmConfiguracion& editor = rm640::frmConfiguracion::Instancia();
    editor.Cargar();
    const auto cargar = [&](const char* clave) {
        editor.txtClave().setTexto(clave);
        editor.txtClave_Enter();
    };
    cargar("0001");
    editor.Controles_Modificar();
    const QString sql = editor.txtProcedimiento().Text() + " /* \"revisada\" por d'Artagnan */";
    editor.txtProcedimiento().setText(sql);
    bool esNuevo = false;
    editor.Controles_Guardar(esNuevo);
    EXPECT_TRUE(editor.Guardado);
    EXPECT_EQ(Valor("SELECT Ca_Sql FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0001'"), sql);

    // Delete and reactivate.
    cargar("0002");
    editor.Controles_Eliminar();
    EXPECT_EQ(Valor("SELECT Es_Cve_Estado FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0002'"), "BA");
    cargar("0004");
    editor.Controles_Reactivar();
    EXPECT_EQ(Valor(QStringLiteral("SELECT Es_Cve_Estado || '|' || Oper_Baja || '|' || COALESCE(CAST(Fecha_Baja AS VARCHAR), 'NULL') FROM "
                                   "Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0004'")),
              "AC||NULL");
    for (const auto& m : g.mensajes)
        EXPECT_EQ(m.idError, "ERR-ID:7500019") << m.mensaje.toStdString();
}

TEST_F(PruebaServidor, ComillasDoblesTransaccionesYFechaDelServidor)
{
    const QString sql = "SELECT Folio FROM Docs WHERE Estado <> 'BA' AND Nota = \"x\"";
    const QString nueva = "SELECT Ca_Sql || '|' || Es_Cve_Estado FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0009'";
    conexion->BeginTrans();
    conexion->Execute("SET QUOTED_IDENTIFIER OFF");
    conexion->Execute("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion, Ca_Sql) VALUES ('0009', \""
                      + QString(sql).replace(u'"', QLatin1String("\"\"")) + "\")");
    conexion->Execute("SET QUOTED_IDENTIFIER ON");
    conexion->CommitTrans();
    EXPECT_EQ(Valor(nueva), sql + "|AC");

    conexion->BeginTrans();
    conexion->Execute("UPDATE Configuracion_Autorizacion SET Ca_Sql = 'otra'");
    EXPECT_NE(DescripcionDe([&] { conexion->Execute("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion) VALUES ('0009')"); }),
              "<sin error>");
    conexion->RollbackTrans();
    EXPECT_EQ(Valor(nueva), sql + "|AC");

    orvinda::UtileriasOrvinda u(*conexion, "ADMIN");
    conexion->LimpiarBitacora();
    EXPECT_TRUE(u.FechaServidor().isValid() && conexion->Bitacora() == QStringList{"SELECT LOCALTIMESTAMP"});
    EXPECT_EQ(u.SiguienteClave("Configuracion_Autorizacion", "Ca_Cve_Configuracion_Autorizacion", {}, {}, {}, {}, {}, {}, {}), 10);
}

// The rehearsal of every demo configuration on the server: both statements
// run, rolled back, and no table changes.
TEST_F(PruebaServidor, ProbarCadaDemoNoEscribeEnElServidor)
{
    const QStringList antes = TodoElContenido();
    for (const QString clave : {"0001", "0002", "0003", "0004"}) {
        const auto [autorizacion, rechazo] = EnsayarDemo(clave);
        EXPECT_TRUE(autorizacion.filas == 1 && rechazo.filas == 1) << clave.toStdString() << autorizacion.error.toStdString() << rechazo.error.toStdString();
    }
    // The checks prepare on the server too, and find nothing in the first but its markup column.
    EXPECT_TRUE(rm640::Verificacion::Texto(rm640::Verificacion::Completa(*rm640::ConfiguracionAutorizacion::Leer(*conexion, "0001")))
                    .startsWith("HTML plantilla: la columna DETALLE_HTML se inserta como marcado HTML"));
    EXPECT_EQ(TodoElContenido(), antes);
}

// On PostgreSQL an edited row moves to the end of its table: the tabs still
// come in the order of their keys (Alt+1 stays "Requisiciones de compra"),
// and the demo's quoted aliases keep the headers' case.
TEST_F(PruebaServidor, LasPestaniasSiguenElOrdenDeSusClavesTrasEditarUnaConfiguracion)
{
    auto& f = rm640::frmRM640::Instancia();
    f.Form_Load();
    Activar(f);
    const auto titulos = [&] {
        QStringList t;
        for (int i = 0; i < f.SSTab().Tabs(); ++i)
            t << f.SSTab().TabCaption(i);
        return t;
    };
    const QStringList esperados{"&1Requisiciones de compra", "&2Órdenes de compra", "&3Reportes de gastos"};
    ASSERT_EQ(titulos(), esperados);
    QStringList encabezados;
    for (int c = 0; c < f.lvInsidencias(0).ColumnHeadersCount(); ++c)
        encabezados << f.lvInsidencias(0).ColumnHeaderText(c);
    EXPECT_EQ(encabezados, (QStringList{"Folio", "Fecha", "Solicitante", "Departamento", "Prioridad", "Total"}));
    // The demo's dates read as dates on this engine too: the oldest age shows.
    EXPECT_TRUE(f.CuentaPestania(0).contains(" · ")) << f.CuentaPestania(0).toStdString();

    // The editor saves a change to the first configuration.
    rm640::frmConfiguracion& editor = rm640::frmConfiguracion::Instancia();
    editor.Cargar();
    editor.txtClave().setTexto("0001");
    editor.txtClave_Enter();
    editor.Controles_Modificar();
    editor.txtDescripcion().setTexto(editor.txtDescripcion().Texto() + " (revisada)");
    bool esNuevo = false;
    editor.Controles_Guardar(esNuevo);
    ASSERT_TRUE(editor.Guardado);
    // The engine now returns it after the others.
    EXPECT_EQ(
        Valor(" SELECT  Ca_Cve_Configuracion_Autorizacion as ID,  Ca_Etiqueta ,  Ca_Sql   FROM Configuracion_Autorizacion  where  Es_Cve_Estado <> 'BA' "),
        "0002");

    f.show();
    for (const char* como : {"F5", "en reposo"}) {
        if (QLatin1String(como) == QLatin1String("F5")) {
            f.Refrescar();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !f.Refrescando(); }, 20000));
        } else {
            QSignalSpy fin(&f, &rm640::frmRM640::RefrescoEnReposo);
            ASSERT_TRUE(f.RefrescarEnReposo());
            ASSERT_TRUE(fin.wait(20000));
            EXPECT_TRUE(fin.first().first().toBool()) << f.Estado().toStdString();
        }
        EXPECT_EQ(titulos(), esperados) << como;
        EXPECT_EQ(f.ClavesConfiguracion(), (QStringList{"0001", "0002", "0003"})) << como;
        EXPECT_EQ(f.lvInsidencias(0).ColumnHeaderText(0), "Folio") << como;
    }
    for (const auto& m : g.mensajes)
        EXPECT_EQ(m.idError, "ERR-ID:7500019") << m.mensaje.toStdString();
}

// A site's trigger announces a change on the channel: the inbox reads it
// again by itself, with the poll turned off.
TEST_F(PruebaServidor, UnAvisoDelServidorRefrescaLaBandejaSinSondeo)
{
    Ejecutar("INSERT INTO Parametros_Generales (Pg_Cve_Parametro, Pg_Ambito, Pg_Tipo, Pg_Valor) VALUES ('RM640_REFRESCO_SEG', 0, 'N', '0')");
    Ejecutar("CREATE FUNCTION rm640_avisar() RETURNS trigger AS $$ BEGIN PERFORM pg_notify('rm640', TG_TABLE_NAME); RETURN NULL; END $$ LANGUAGE plpgsql");
    Ejecutar("CREATE TRIGGER rm640_requisiciones AFTER INSERT OR DELETE OR UPDATE OF Rq_Estado ON Requisiciones_Compra"
             " FOR EACH STATEMENT EXECUTE FUNCTION rm640_avisar()");
    auto& f = rm640::frmRM640::Instancia();
    f.Form_Load();
    f.show();
    Activar(f);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.Escuchando(); }, 10000));
    ASSERT_EQ(f.lvInsidencias(0).ListItemsCount(), 120);

    QSignalSpy fin(&f, &rm640::frmRM640::RefrescoEnReposo);
    Ejecutar("UPDATE Requisiciones_Compra SET Rq_Estado = 'AU' WHERE Rq_Folio = (SELECT MIN(Rq_Folio) FROM Requisiciones_Compra WHERE Rq_Estado = 'PE')");
    ASSERT_TRUE(fin.wait(20000));
    EXPECT_TRUE(fin.first().first().toBool()) << f.Estado().toStdString();
    EXPECT_EQ(f.lvInsidencias(0).ListItemsCount(), 119);
    EXPECT_EQ(f.SegundosReposo(), 0);
}
