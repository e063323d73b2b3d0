#include "comun/EntornoPrueba.h"

#include "basedatos/DatosDemo.h"
#include "basedatos/EsquemaBaseDatos.h"
#include "comun/SistemaGrabador.h"
#include "comun/UtileriasGrabador.h"
#include "config/ConfiguracionAutorizacion.h"
#include "editor/frmConfiguracion.h"
#include "editor/frmEnsayo.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/WebBrowser.h"
#include "host/controles/txtVEX.h"
#include "host/datos/Conexion.h"
#include "host/servicios/TablaClases.h"
#include "inbox/frmRM640.h"
#include "marcadores/Marcadores.h"
#include "marcadores/MarcadoresHtml.h"
#include "publico/Publico.h"
#include "review/frmAutorizacion.h"
#include "review/frmRechazar.h"

#include <QPlainTextEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

void EntornoPrueba::SetUp()
{
    ASSERT_TRUE(carpeta.isValid());
    qputenv("ORVINDA_REGISTRO", (carpeta.path() + "/componentes.ini").toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, carpeta.path() + "/ajustes");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, carpeta.path() + "/ajustes");

    conexion = orvinda::Conexion::Abrir(DestinoBaseDatos());
    QSqlDatabase db = conexion->BaseDatos();
    orvinda::EsquemaBaseDatos::Crear(db);
    conexion->ObservarBitacora();

    rm640::Publico::Terminar();
    orvinda::Conexion* c = conexion.get();
    Grabacion* gr = &g;
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Sistema::IdPrograma), [=] { return std::make_unique<SistemaGrabador>(*gr, *c); });
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Utilerias::IdPrograma), [=] { return std::make_unique<UtileriasGrabador>(*gr, *c); });
}

QString EntornoPrueba::DestinoBaseDatos()
{
    return carpeta.path() + "/prueba.db";
}

void EntornoPrueba::TearDown()
{
    qDeleteAll(sondeos.findChildren<QObject*>(Qt::FindDirectChildrenOnly));
    if (conexion)
        conexion->AntesDeCadaPaso(nullptr);
    rm640::frmRechazar::Unload();
    rm640::frmAutorizacion::Unload();
    if (rm640::frmConfiguracion::ExisteInstancia())
        delete &rm640::frmConfiguracion::Instancia();
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
    ASSERT_TRUE(q.exec(sentencia)) << sentencia.toStdString() << ": " << q.lastError().text().toStdString();
}

QString EntornoPrueba::Valor(const QString& consulta)
{
    QSqlQuery q(conexion->BaseDatos());
    if (!q.exec(consulta) || !q.next())
        return QString();
    return q.value(0).isNull() ? "<NULL>" : q.value(0).toString();
}

QStringList EntornoPrueba::Contenido(const QString& tabla, const QString& orden)
{
    return Instantanea(conexion->BaseDatos(), tabla, orden);
}

QStringList EntornoPrueba::TodoElContenido()
{
    QStringList todo;
    QStringList tablas = conexion->BaseDatos().tables();
    tablas.sort(Qt::CaseInsensitive);
    for (const QString& tabla : tablas) {
        QStringList filas = Contenido(tabla, "1");
        filas.sort();
        todo << tabla << filas;
    }
    return todo;
}

std::pair<rm640::Ensayo::Resultado, rm640::Ensayo::Resultado> EntornoPrueba::EnsayarDemo(const QString& clave)
{
    rm640::frmConfiguracion& f = rm640::frmConfiguracion::Instancia();
    f.Cargar();
    f.txtClave().setTexto(clave);
    f.txtClave_Enter();
    rm640::frmEnsayo ensayo(f.ConfiguracionEnPantalla(), &f);
    ensayo.show();
    EXPECT_TRUE(ensayo.MostrarFolio(0)) << ensayo.Informe().toStdString();
    EXPECT_TRUE(EsperarPagina(ensayo.Navegador(), ensayo.Folios().value(0)) && EscribirCampo(ensayo.Navegador(), "COMENTARIO_DOCUMENTO", "Probado"));
    for (const rm640::CampoAutorizar& campo : rm640::Marcadores::LeerListaCampos(f.txtCampos1().Texto()))
        if (campo.obligatorio)
            EscribirCampo(ensayo.Navegador(), campo.nombre, "1");
    const rm640::Ensayo::Resultado autorizacion = ensayo.EnsayarAutorizacion();
    EXPECT_TRUE(ensayo.Informe().contains("Comentario del documento: \"Probado\"\nFormato de impresión: ")) << ensayo.Informe().toStdString();
    return {autorizacion, ensayo.EnsayarRechazo()};
}

bool EntornoPrueba::Configuracion(const QString& clave, const QList<std::pair<QString, QVariant>>& columnas)
{
    return InsertarConfiguracion(conexion->BaseDatos(), clave, columnas);
}

rm640::frmAutorizacion& EntornoPrueba::MostrarRequisicionDemo(const QString& folio)
{
    const auto c = rm640::ConfiguracionAutorizacion::Leer(*conexion, "0001");
    orvinda::Recordset fila = conexion->Execute(rm640::Marcadores::ExpandirConsulta(c->sqlPlantilla, folio));
    QList<rm640::ColumnaPlantilla> columnas;
    for (int i = 0; i < fila.FieldsCount(); ++i)
        columnas.append({fila.Fields(i).Name(), fila.Fields(i).Texto()});

    rm640::frmAutorizacion::Unload();
    rm640::frmAutorizacion& d = rm640::frmAutorizacion::Load();
    d.setPlantilla(rm640::MarcadoresHtml::ExpandirPlantilla(c->plantilla, columnas, rm640::MarcadoresHtml::Modo::Escapar));
    d.setTabla(c->tabla);
    d.setFolio(folio);
    d.setCampos(c->camposAutorizar);
    d.setClave(c->clave);
    d.show();
    EXPECT_TRUE(EsperarPagina(d.WebBrowser1(), folio));
    return d;
}

rm640::frmRechazar& EntornoPrueba::MostrarRechazo(const QString& tabla, const QString& folio, const QString& clave, const QString& comentario)
{
    rm640::frmRechazar::Unload();
    rm640::frmRechazar& r = rm640::frmRechazar::Load();
    r.setTabla(tabla);
    r.setFolio(folio);
    r.setClave(clave);
    r.show();
    r.txtComentario().setPlainText(comentario);
    return r;
}

void EntornoPrueba::CapturarConfiguracionNueva(rm640::frmConfiguracion& editor, const QString& descripcion)
{
    editor.Controles_Nuevo();
    LlenarEditor(editor,
                 {descripcion, "Anticipos", QString(), "ANTICIPOS", QString(), "SELECT Folio FROM Anticipos WHERE Estado = 'PE'",
                  "UPDATE Anticipos SET Estado = 'AU' WHERE Folio = '{FOLIO}'", QString(), "SELECT * FROM Anticipos WHERE Folio = '{FOLIO}'",
                  "<h1>{FOLIO}</h1>", "UPDATE Anticipos SET Estado = 'RE' WHERE Folio = '{FOLIO}'"});
}

static QList<QObject*> CamposEditor(const rm640::frmConfiguracion& f)
{
    return {&f.txtDescripcion(),    &f.txtPestania(), &f.txtFto_Impresion(),  &f.txtTabla(),          &f.txtClave_Principal(), &f.txtProcedimiento(),
            &f.txtProcedimiento2(), &f.txtCampos1(),  &f.txtProcedimiento3(), &f.txtProcedimiento4(), &f.txtProcedimiento5()};
}

static const char* Propiedad(QObject* campo)
{
    return qobject_cast<orvinda::txtVEX*>(campo) ? "Texto" : "Text";
}

void EntornoPrueba::LlenarEditor(rm640::frmConfiguracion& editor, const QStringList& valores)
{
    const QList<QObject*> campos = CamposEditor(editor);
    for (int i = 0; i < campos.size(); ++i)
        campos[i]->setProperty(Propiedad(campos[i]), valores.value(i));
}

QStringList EntornoPrueba::TextosEditor(const rm640::frmConfiguracion& editor)
{
    QStringList r;
    for (QObject* c : CamposEditor(editor))
        r << c->property(Propiedad(c)).toString();
    return r;
}

rm640::AutorizacionEnLote::Resumen EntornoPrueba::Lote(const QString& clave, const QStringList& folios, std::function<bool(int, int)> pregunta)
{
    rm640::AutorizacionEnLote lote(clave, folios);
    QObject::connect(&lote, &rm640::AutorizacionEnLote::Avance, &lote, [&](int hechos, int total) {
        if (pregunta && !pregunta(hechos, total))
            lote.Cancelar();
    });
    QSignalSpy fin(&lote, &rm640::AutorizacionEnLote::Terminada);
    EXPECT_TRUE(lote.Iniciar());
    EXPECT_TRUE(fin.wait(120000));
    return lote.ObtenerResumen();
}

void EntornoPrueba::Activar(rm640::frmRM640& bandeja)
{
    bandeja.Form_Activate();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bandeja.Refrescando(); }, 60000));
}
