#include "comun/EntornoPrueba.h"

#include "basedatos/DatosDemo.h"
#include "basedatos/EsquemaBaseDatos.h"
#include "comun/SistemaGrabador.h"
#include "comun/UtileriasGrabador.h"
#include "host/datos/Conexion.h"
#include "host/servicios/TablaClases.h"
#include "config/ConfiguracionAutorizacion.h"
#include "config/Marcadores.h"
#include "editor/frmConfiguracion.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/WebBrowser.h"
#include "host/controles/txtVEX.h"
#include "host/datos/ErrorRm.h"
#include "inbox/frmRM640.h"
#include "review/frmAutorizacion.h"
#include "shell/Publico.h"

#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest/QTest>

void EntornoPrueba::SetUp()
{
    ASSERT_TRUE(carpeta.isValid());
    qputenv("ORVINDA_REGISTRO", (carpeta.path() + QStringLiteral("/componentes.ini")).toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, carpeta.path() + QStringLiteral("/ajustes"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, carpeta.path() + QStringLiteral("/ajustes"));

    conexion = orvinda::Conexion::Abrir(DestinoBaseDatos());
    QSqlDatabase db = conexion->BaseDatos();
    orvinda::EsquemaBaseDatos::Crear(db);
    conexion->LimpiarBitacora();

    rm640::Publico::Terminar();
    orvinda::Conexion* c = conexion.get();
    Grabacion* gr = &g;
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Sistema::IdPrograma),
                                    [=] { return std::make_unique<SistemaGrabador>(*gr, *c); });
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Utilerias::IdPrograma),
                                    [=] { return std::make_unique<UtileriasGrabador>(*gr, *c); });
}

QString EntornoPrueba::DestinoBaseDatos()
{
    return carpeta.path() + QStringLiteral("/prueba.db");
}

void EntornoPrueba::TearDown()
{
    if (rm640::frmRM640::ExisteInstancia())
        delete &rm640::frmRM640::Instancia();
    rm640::Publico::Terminar();
    orvinda::TablaClases::RetirarTodas();
    conexion.reset();
    qunsetenv("ORVINDA_REGISTRO");
}

void EntornoPrueba::CargarDemo()
{
    QSqlDatabase db = conexion->BaseDatos();
    orvinda::DatosDemo::Cargar(db);
}

void EntornoPrueba::Ejecutar(const QString& sentencia)
{
    QSqlQuery q(conexion->BaseDatos());
    ASSERT_TRUE(q.exec(sentencia)) << sentencia.toStdString();
}

QString EntornoPrueba::Valor(const QString& consulta)
{
    QSqlQuery q(conexion->BaseDatos());
    if (!q.exec(consulta) || !q.next())
        return QString();
    return q.value(0).isNull() ? QStringLiteral("<NULL>") : q.value(0).toString();
}

QStringList EntornoPrueba::Contenido(const QString& tabla, const QString& orden)
{
    QStringList filas;
    QSqlQuery q(conexion->BaseDatos());
    if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(tabla, orden)))
        return {QStringLiteral("<error>")};
    while (q.next()) {
        QStringList f;
        for (int i = 0; i < q.record().count(); ++i)
            f.append(q.value(i).isNull() ? QStringLiteral("<NULL>") : q.value(i).toString());
        filas.append(f.join(u'|'));
    }
    return filas;
}

rm640::frmAutorizacion& EntornoPrueba::MostrarRequisicionDemo(const QString& folio)
{
    const auto c = rm640::ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("0001"));
    orvinda::Recordset fila = conexion->Execute(rm640::Marcadores::ExpandirConsulta(c->sqlPlantilla, folio));
    QList<rm640::ColumnaPlantilla> columnas;
    for (int i = 0; i < fila.FieldsCount(); ++i)
        columnas.append({fila.Fields(i).Name(), fila.Fields(i).Texto()});

    rm640::frmAutorizacion::Unload();
    rm640::frmAutorizacion& d = rm640::frmAutorizacion::Load();
    d.setPlantilla(rm640::Marcadores::ExpandirPlantilla(c->plantilla, columnas));
    d.setTabla(c->tabla);
    d.setFolio(folio);
    d.setCampos(c->camposAutorizar);
    d.setClave(c->clave);
    d.show();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        try {
            return d.WebBrowser1().HtmlCuerpo().contains(folio);
        } catch (const orvinda::ErrorRm&) {
            return false;
        }
    }, 20000));
    return d;
}

void EntornoPrueba::CapturarConfiguracionNueva(rm640::frmConfiguracion& editor)
{
    editor.Controles_Nuevo();
    editor.txtDescripcion().setTexto(QStringLiteral("Autorización de anticipos"));
    editor.txtPestania().setTexto(QStringLiteral("Anticipos"));
    editor.txtTabla().setTexto(QStringLiteral("ANTICIPOS"));
    editor.txtProcedimiento().setText(QStringLiteral("SELECT Folio FROM Anticipos WHERE Estado = 'PE'"));
    editor.txtProcedimiento2().setText(QStringLiteral("UPDATE Anticipos SET Estado = 'AU' WHERE Folio = '{FOLIO}'"));
    editor.txtProcedimiento3().setText(QStringLiteral("SELECT * FROM Anticipos WHERE Folio = '{FOLIO}'"));
    editor.txtProcedimiento4().setText(QStringLiteral("<h1>{FOLIO}</h1>"));
    editor.txtProcedimiento5().setText(QStringLiteral("UPDATE Anticipos SET Estado = 'RE' WHERE Folio = '{FOLIO}'"));
}
