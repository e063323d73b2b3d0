#include "comun/EntornoPrueba.h"
#include "editor/Verificacion.h"
#include "editor/frmConfiguracion.h"
#include "editor/frmEnsayo.h"
#include "host/controles/Controles.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/ssTbVex.h"
#include "host/controles/txtVEX.h"
#include "host/servicios/ConsultaRegistro.h"
#include "host/servicios/TablaClases.h"
#include "servicios/UtileriasOrvinda.h"
#include "shell/Publico.h"
#include "shell/ServidorPaginas.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QSyntaxHighlighter>
#include <QTest>
#include <QToolButton>

using rm640::frmConfiguracion;

namespace {

// The eleven non-key contents in column order, with every quote character
// that the statements must carry through unchanged.
const QStringList Datos = QStringLiteral("Requisición de 'compras'|Compras|FTO_REQ|REQUISICIONES|FOLIO|SELECT Folio\n\tFROM Req WHERE Es_Cve_Estado <> 'BA' "
                                         "AND Nota = \"x\"|UPDATE Req SET Estado = 'AU' WHERE Folio = '{FOLIO}'|*MONTO,COMENTARIO_DOCUMENTO 'libre'|"
                                         "SELECT * FROM Req WHERE Folio = '{FOLIO}'|<p class=\"doc\">Folio {FOLIO} d'Artagnan</p>|"
                                         "UPDATE Req SET Estado = 'RE' WHERE Folio = \"{FOLIO}\"")
                              .split(u'|');
const QStringList Activa{"Informacion", "Modificar", "Eliminar", "Copiar"};

const QStringList NombresColumnas
    = {"Ca_Descripcion",      "Ca_Etiqueta",      "Ca_Formato_Impresion",      "Ca_Tabla",       "Ca_Tabla_Clave", "Ca_Sql", "Ca_Sql_Autoriazion",
       "Ca_Campos_Autorizar", "Ca_Sql_Plantilla", "Ca_Plantilla_Autorizacion", "Ca_Sql_Rechazar"};

// The same values as the statements must write them.
const QString Valores = QStringLiteral("'Requisición de ''compras''',    'Compras',    'FTO_REQ',    'REQUISICIONES',    'FOLIO', "
                                       "   \"SELECT Folio\n\tFROM Req WHERE Es_Cve_Estado <> 'BA' AND Nota = \"\"x\"\"\", "
                                       "   \"UPDATE Req SET Estado = 'AU' WHERE Folio = '{FOLIO}'\",    '*MONTO,COMENTARIO_DOCUMENTO ''libre''', "
                                       "   \"SELECT * FROM Req WHERE Folio = '{FOLIO}'\",    '<p class=\"doc\">Folio {FOLIO} d''Artagnan</p>', "
                                       "   \"UPDATE Req SET Estado = 'RE' WHERE Folio = \"\"{FOLIO}\"\"\", ");

class ConsultaGrabadora : public orvinda::ConsultaRegistro
{
public:
    explicit ConsultaGrabadora(QStringList& l)
        : llamadas(l)
    {
    }
    void MostrarRegistro(const QString& t, const QString& c, const QString& v, const QString& e1, const QString& e2, const QString& e3,
                         const QString& e4) override
    {
        llamadas.append(QStringList{t, c, v, e1, e2, e3, e4}.join(u'|'));
    }
    QStringList& llamadas;
};

class PruebaEditor : public EntornoPrueba
{
protected:
    void SetUp() override
    {
        EntornoPrueba::SetUp();
        g.parametros.insert("FTO_CONFIGURACION_AUTORIZACION", "0000");
        rm640::Publico::Main();
    }

    void TearDown() override
    {
        if (frmConfiguracion::ExisteInstancia())
            delete &frmConfiguracion::Instancia();
        EntornoPrueba::TearDown();
    }

    frmConfiguracion& Editor()
    {
        frmConfiguracion::Instancia().Cargar();
        return frmConfiguracion::Instancia();
    }

    void Fila(const QString& clave, const QVariant& estado, const QVariant& sql = "SELECT 1")
    {
        const QString& c = clave;
        const QStringList nombres = NombresColumnas + QStringList{"Fecha_Alta", "Fecha_Ult_Modif", "Oper_Alta", "Oper_Ult_Modif", "Es_Cve_Estado"};
        const QVariantList valores{"Desc " + c, "Pest " + c,        "FTO" + c,  "TABLA" + c,           "CLAVE" + c,           sql,    "AUT " + c, "CAMPOS " + c,
                                   "PLA " + c,  "<b>" + c + "</b>", "REC " + c, "2020-01-01T00:00:00", "2020-01-02T00:00:00", "ALTA", "MODIF",    estado};
        QList<std::pair<QString, QVariant>> fila;
        for (int i = 0; i < nombres.size(); ++i)
            fila.append({nombres[i], valores[i]});
        ASSERT_TRUE(Configuracion(clave, fila));
    }

    static void Pulsar(frmConfiguracion& f, const char* boton)
    {
        auto* b = f.Controles().findChild<QToolButton*>(QLatin1String(boton));
        ASSERT_TRUE(b && b->isEnabled()) << boton;
        b->click();
    }

    static void Cargar(frmConfiguracion& f, const QString& clave)
    {
        f.txtClave().setTexto(clave);
        f.txtClave_Enter();
    }

    static QStringList Textos(const frmConfiguracion& f) { return TextosEditor(f); }
    static void Llenar(frmConfiguracion& f, const QStringList& valores = Datos) { LlenarEditor(f, valores); }

    QStringList Columnas(const QString& clave)
    {
        QStringList r;
        for (const QString& c : NombresColumnas)
            r << Valor(QStringLiteral("SELECT %1 FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '%2'").arg(c, clave));
        return r;
    }

    static QStringList Banderas(const frmConfiguracion& f)
    {
        const auto& b = f.Controles();
        QStringList r;
        for (auto [si, nombre] : {std::pair{b.HabilitarInformacion(), "Informacion"},
                                  {b.HabilitarModificar(), "Modificar"},
                                  {b.HabilitarEliminar(), "Eliminar"},
                                  {b.HabilitarReactivar(), "Reactivar"}})
            if (si)
                r << nombre;
        return r << b.TextoBotonExtra();
    }

    // The one message shown since the last check, from the editor's window.
    void EsperarMensaje(const char* id, const QString& texto, int estilo, const QString& titulo)
    {
        EXPECT_EQ(g.TomarAvisos(), QStringList{QStringLiteral("%1|%2|%3|frmConfiguracion|%4").arg(id).arg(estilo).arg(titulo, texto)});
    }

    // The key, whether it and the rest are open, and the tab.
    static QString Estado(const frmConfiguracion& f)
    {
        return QStringList{f.txtClave().Texto(), f.txtClave().Habilitado() ? "clave" : "",
                           f.txtDescripcion().Habilitado() && f.txtProcedimiento4().isEnabled() ? "resto" : "", QString::number(f.ssTabVex().activetab())}
            .join(u'|');
    }

    static QSettings Ajustes() { return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Orvinda", "RM640FORMATO-frmConfiguracion"); }
};

} // namespace

TEST_F(PruebaEditor, AbreModalEnGeneralYEscapeCierraSinGuardar)
{
    frmConfiguracion& f = Editor();
    QStringList titulos;
    for (int k = 0; k < 6; ++k)
        titulos << f.ssTabVex().tabcaption(k);
    EXPECT_EQ(titulos, (QStringList{"General", "SQL selección de datos", "SQL autorización", "SQL plantilla", "HTML plantilla", "SQL rechazar"}));
    EXPECT_EQ(f.txtClave().Formato(), QVariant("0000"));
    EXPECT_EQ(g.LlamadasA("LeerParametro"), QStringList{"LeerParametro(FTO_CONFIGURACION_AUTORIZACION,0,T,0000)"});
    // The host clears and opens every field but the key, which it finds along the tab order.
    EXPECT_EQ(orvinda::UtileriasOrvinda::CampoClave(f), &f.txtClave());

    // The inbox's command: modal, tab 0 with the focus on the key, Escape
    // closes without saving and the editor is unloaded, storing its place.
    g.llamadas.clear();
    f.Guardado = true;
    bool modal = false;
    AlAbrirse<frmConfiguracion>([&](frmConfiguracion& f) {
        modal = QApplication::activeModalWidget() == &f;
        EXPECT_EQ(f.ssTabVex().activetab(), 0);
        EXPECT_EQ(f.focusWidget(), &f.txtClave());
        QTest::keyClick(&f.txtClave(), Qt::Key_Escape);
        EXPECT_FALSE(f.Guardado);
    });
    frmConfiguracion::AbrirDesdeBandeja();
    EXPECT_TRUE(modal && !frmConfiguracion::ExisteInstancia() && g.mensajes.isEmpty());
    EXPECT_EQ(g.llamadas.value(0) + Ajustes().value("Settings/WindowState").toString(), "FormatearConsulta(32)0");
}

TEST_F(PruebaEditor, CargaPorClaveSegunEstadoYEdicionDeLaClave)
{
    Fila("0001", "AC");
    Fila("0002", "BA");
    Fila("0003", QVariant());
    Fila("0004", "AC", QVariant());
    frmConfiguracion& f = Editor();
    conexion->LimpiarBitacora();
    g.llamadas.clear();

    Cargar(f, "1");
    EXPECT_EQ(f.txtClave().Texto(), "0001");
    EXPECT_EQ(conexion->Bitacora(), QStringList{"SELECT * FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0001'"});
    EXPECT_EQ(Textos(f),
              (QStringList{"Desc 0001", "Pest 0001", "FTO0001", "TABLA0001", "CLAVE0001", "SELECT 1", "AUT 0001", "CAMPOS 0001", "PLA 0001", "<b>0001</b>",
                           "REC 0001"}));
    EXPECT_TRUE(g.LlamadasA("FormatearConsulta").size() == 4 && !f.txtDescripcion().Habilitado());

    // Editing the key clears through the host and empties only the first SQL box.
    f.txtClave().setTexto("0002");
    EXPECT_EQ(Textos(f).mid(5, 2), (QStringList{"", "AUT 0001"}));
    EXPECT_EQ(Banderas(f) << f.txtDescripcion().Texto(), (QStringList{"", ""}));

    // The commands each state of the row offers.
    const QStringList baja{"Informacion", "Reactivar", "Copiar"};
    for (const auto& [clave, banderas] :
         {std::pair{"0001", Activa}, std::pair{"0002", baja}, std::pair{"0003", baja}, std::pair{"9999", QStringList{"Copiar"}}}) {
        Cargar(f, QLatin1String(clave));
        EXPECT_EQ(Banderas(f), banderas) << clave;
    }
    EXPECT_TRUE(g.mensajes.isEmpty());

    // A NULL statement stops the load after the one-line fields before it.
    Cargar(f, "0004");
    EsperarMensaje("ERR-ID:7500024", "Uso no válido de Null", 16, "txtClave_Enter()");
    EXPECT_EQ(Textos(f).mid(0, 6), (QStringList{"Desc 0004", "Pest 0004", "", "TABLA0004", "CLAVE0004", ""}));
    EXPECT_EQ(Banderas(f), QStringList{""});

    // Nothing happens for an empty key or while an edit is pending.
    conexion->LimpiarBitacora();
    Cargar(f, "");
    f.Controles().EjecutarNuevo(false);
    Cargar(f, "0001");
    EXPECT_TRUE(conexion->Bitacora().filter("SELECT *").isEmpty());
}

// Each row empties its field and every required one after it, so the order shows.
TEST_F(PruebaEditor, CamposObligatoriosEnOrdenConFocoYPestania)
{
    frmConfiguracion& f = Editor();
    f.Controles().EjecutarNuevo(false);
    struct Caso
    {
        int campo;
        const char* foco;
        const char* id;
        QString mensaje;
        int pestania;
    };
    const Caso casos[] = {
        {0, "txtDescripcion", "ERR-ID:7500011", "Debe especificar una descripción", 3},
        {1, "txtPestania", "ERR-ID:7500012", "Debe especificar una pestaña", 3},
        {3, "txtTabla", "ERR-ID:7500013", "Debe especificar una tabla", 3},
        {5, "txtProcedimiento", "ERR-ID:7500014", "Debe especificar una consulta para la selección de datos del listview", 1},
        {6, "txtProcedimiento2", "ERR-ID:7500015", "Debe especificar una consulta una actualización para la autorización de los datos", 2},
        {8, "txtProcedimiento3", "ERR-ID:7500016", "Debe especificar una consulta para la consulta de la plantilla ", 3},
        {9, "txtProcedimiento4", "ERR-ID:7500017", "Debe especificar información para la plantilla", 4},
        {10, "txtProcedimiento5", "ERR-ID:7500018", "Debe especificar una consulta para el rechazar", 5},
    };
    for (const Caso& c : casos) {
        QStringList valores = Datos;
        for (int k = c.campo; k < valores.size(); ++k)
            valores[k].clear();
        valores[2].clear(); // the format, the table key and the field list may be empty
        valores[4].clear();
        valores[7].clear();
        Llenar(f, valores);
        f.ssTabVex().setActivetab(3);
        Pulsar(f, "cmdGuardar");
        EsperarMensaje(c.id, c.mensaje, 48, "Atención");
        EXPECT_EQ(f.focusWidget()->objectName(), QLatin1String(c.foco)) << c.id;
        EXPECT_TRUE(f.ssTabVex().activetab() == c.pestania && !f.Controles().GuardadoPendiente()) << c.id;
    }
    EXPECT_TRUE(!conexion->Bitacora().contains("BeginTrans") && Valor("SELECT COUNT(*) FROM Configuracion_Autorizacion") == "0");
}

TEST_F(PruebaEditor, InsertaConElTextoExactoYCierraTrasGuardar)
{
    frmConfiguracion& f = Editor();
    f.show();
    f.Controles().EjecutarNuevo(false);
    Llenar(f);
    conexion->LimpiarBitacora();
    QStringList alAvisar;
    g.alMostrar = [&](const Grabacion::Mensaje&) { alAvisar = Textos(f) << f.txtClave().Texto(); };
    Pulsar(f, "cmdGuardar");

    const QString insertar = QStringLiteral("INSERT INTO Configuracion_Autorizacion(   Ca_Cve_Configuracion_Autorizacion,    Ca_Descripcion,     Ca_Etiqueta,  "
                                            "   Ca_Formato_Impresion,     Ca_Tabla,     Ca_Tabla_Clave,     Ca_Sql,     Ca_Sql_Autoriazion,  "
                                            "   Ca_Campos_Autorizar,     Ca_Sql_Plantilla,     Ca_Plantilla_Autorizacion,     Ca_Sql_Rechazar,  "
                                            "   Fecha_Alta,    Fecha_Ult_Modif,    Oper_Alta,    Oper_Ult_Modif)    VALUES (   '0007',    ")
        + Valores + "   '2026-12-06T10:30:00',    '2026-12-06T10:30:00',    'PRUEBA',    'PRUEBA')";
    EXPECT_EQ(conexion->Bitacora().mid(1), (QStringList{"BeginTrans", "SET QUOTED_IDENTIFIER OFF", insertar, "SET QUOTED_IDENTIFIER ON", "CommitTrans"}));
    EXPECT_EQ(Columnas("0007"), Datos);
    EXPECT_EQ(Valor("SELECT Es_Cve_Estado || Oper_Alta || Fecha_Alta FROM Configuracion_Autorizacion"), "ACPRUEBA2026-12-06T10:30:00");

    // The editor is already empty when the user is told to reopen the inbox.
    EsperarMensaje("ERR-ID:7500019", "Para verificar la configuración guardada,\r\n es necesario salir y entrar de nuevo a la plantilla", 64, "Información");
    EXPECT_EQ(alAvisar, QStringList(12, QString()));
    EXPECT_TRUE(f.Guardado && f.isHidden() && !f.Controles().EnEdicion() && f.txtClave().Habilitado());
}

TEST_F(PruebaEditor, ActualizaSinProbarLaClaveNiTocarElAlta)
{
    Fila("0001", "AC");
    frmConfiguracion& f = Editor();
    Cargar(f, "0001");
    Pulsar(f, "cmdModificar");
    Llenar(f);
    conexion->LimpiarBitacora();
    g.llamadas.clear();
    Pulsar(f, "cmdGuardar");

    const QString esperado
        = QStringLiteral("UPDATE Configuracion_Autorizacion SET    Ca_Descripcion = 'Requisición de ''compras''',    Ca_Etiqueta = 'Compras', "
                         "   Ca_Formato_Impresion = 'FTO_REQ',    Ca_Tabla = 'REQUISICIONES',    Ca_Tabla_Clave = 'FOLIO', "
                         "   Ca_Sql = \"SELECT Folio\n\tFROM Req WHERE Es_Cve_Estado <> 'BA' AND Nota = \"\"x\"\"\", "
                         "   Ca_Sql_Autoriazion = \"UPDATE Req SET Estado = 'AU' WHERE Folio = '{FOLIO}'\", "
                         "   Ca_Campos_Autorizar = '*MONTO,COMENTARIO_DOCUMENTO ''libre''', "
                         "   Ca_Sql_Plantilla = \"SELECT * FROM Req WHERE Folio = '{FOLIO}'\", "
                         "   Ca_Plantilla_Autorizacion = '<p class=\"doc\">Folio {FOLIO} d''Artagnan</p>', "
                         "   Ca_Sql_Rechazar = \"UPDATE Req SET Estado = 'RE' WHERE Folio = \"\"{FOLIO}\"\"\", "
                         "   Oper_Ult_Modif = 'PRUEBA',    Fecha_Ult_Modif = '2026-12-06T10:30:00' "
                         "WHERE Ca_Cve_Configuracion_Autorizacion = '0001'");
    EXPECT_EQ(conexion->Bitacora(), (QStringList{"BeginTrans", "SET QUOTED_IDENTIFIER OFF", esperado, "SET QUOTED_IDENTIFIER ON", "CommitTrans"}));
    EXPECT_EQ(Columnas("0001") << g.LlamadasA("BuscarValor"), Datos);
    EXPECT_EQ(Valor("SELECT Oper_Alta || Fecha_Alta || Oper_Ult_Modif || Es_Cve_Estado FROM Configuracion_Autorizacion"), "ALTA2020-01-01T00:00:00PRUEBAAC");
    EXPECT_TRUE(f.Guardado);
}

// A template of 1 MiB with quotes of both kinds and letters beyond ASCII,
// written by a save and shown again by a load, whole.
TEST_F(PruebaEditor, PlantillaDeUnMiBIdaYVuelta)
{
    frmConfiguracion& f = Editor();
    QStringList datos = Datos;
    datos[9] = "<tr><td class=\"año\">{FOLIO}</td><td>l'Éxito — ñandú</td></tr>\n";
    while (datos[9].size() < (1 << 20))
        datos[9] += datos[9];
    Pulsar(f, "cmdNuevo");
    Llenar(f, datos);
    Pulsar(f, "cmdGuardar");
    ASSERT_TRUE(f.Guardado);
    EXPECT_EQ(Columnas("0007"), datos);
    f.show();
    Cargar(f, "0007");
    EXPECT_EQ(Textos(f), datos);
}

TEST_F(PruebaEditor, ClaveOcupadaSegunCatAutoclave)
{
    Fila("0007", "BA");
    frmConfiguracion& f = Editor();
    f.Controles().EjecutarNuevo(false);
    Llenar(f);
    const QStringList antes = Contenido("Configuracion_Autorizacion", "1");

    for (const QVariant& autoclave : {QVariant(), QVariant(false), QVariant(0)}) {
        if (autoclave.isValid())
            g.parametros.insert("CAT_AUTOCLAVE", autoclave);
        f.txtDescripcion().setFocus();
        Pulsar(f, "cmdGuardar");
        EsperarMensaje("ERR-ID:7500010", "La clave ya está asignada al perfil puesto0007", 48, "Orvinda");
        EXPECT_TRUE(f.focusWidget() == &f.txtClave() && !f.Controles().GuardadoPendiente());
    }
    EXPECT_EQ(g.LlamadasA("LeerParametro").last(), "LeerParametro(CAT_AUTOCLAVE,0,,)");

    g.parametros.insert("CAT_AUTOCLAVE", true);
    g.respuestas = {7};
    Pulsar(f, "cmdGuardar");
    EsperarMensaje("ERR-ID:7500025", "La clave, ya existe en la base de datos0007\r\n¿Desea generar una nueva clave?", 36, "Generar nueva clave?");
    EXPECT_TRUE(f.txtClave().Texto() == "0007" && Contenido("Configuracion_Autorizacion", "1") == antes);

    // Yes: the next key goes into the field and the save goes on without a second lookup.
    g.respuestas = {6};
    g.siguienteClave = 12;
    g.llamadas.clear();
    Pulsar(f, "cmdGuardar");
    EXPECT_EQ(g.LlamadasA("BuscarValor").size(), 1);
    EXPECT_EQ(g.LlamadasA("SiguienteClave"), QStringList{"SiguienteClave(Configuracion_Autorizacion,Ca_Cve_Configuracion_Autorizacion,,,,,,,)"});
    EXPECT_EQ(Columnas("0012"), Datos);
    EXPECT_TRUE(Contenido("Configuracion_Autorizacion", "1").value(0) == antes.value(0) && f.Guardado);
}

TEST_F(PruebaEditor, FallosDelServidorDeshacenYConservanLaEdicion)
{
    Fila("0001", "AC");
    Fila("0002", "BA");
    Ejecutar("CREATE TRIGGER no_alta BEFORE INSERT ON Configuracion_Autorizacion BEGIN SELECT RAISE(ABORT, 'alta rechazada'); END");
    Ejecutar("CREATE TRIGGER no_cambio BEFORE UPDATE ON Configuracion_Autorizacion BEGIN SELECT RAISE(ABORT, 'cambio rechazado'); END");
    const QStringList antes = Contenido("Configuracion_Autorizacion", "1");
    frmConfiguracion& f = Editor();
    f.show();
    f.Controles().EjecutarNuevo(false);
    Llenar(f);
    conexion->LimpiarBitacora();
    Pulsar(f, "cmdGuardar");

    const QStringList bitacora = conexion->Bitacora();
    ASSERT_EQ(bitacora.size(), 6);
    EXPECT_EQ(bitacora.mid(1, 2), (QStringList{"BeginTrans", "SET QUOTED_IDENTIFIER OFF"}));
    EXPECT_EQ(bitacora.mid(4), (QStringList{"RollbackTrans", "SET QUOTED_IDENTIFIER ON"}));
    EsperarMensaje("ERR-ID:7500020", "alta rechazada", 16, "ERROR");
    EXPECT_EQ(Textos(f), Datos);
    EXPECT_TRUE(f.txtClave().Texto() == "0007" && f.isVisible() && !f.Guardado && !f.Controles().GuardadoPendiente());
    EXPECT_EQ(f.Controles().ModoActual(), orvinda::Controles::Modo::Nuevo);

    // Delete and reactivation roll back under their own titles; the row stays shown.
    Pulsar(f, "cmdCancelar");
    Cargar(f, "0001");
    conexion->LimpiarBitacora();
    Pulsar(f, "cmdEliminar");
    EXPECT_EQ(conexion->Bitacora().value(2), "RollbackTrans");
    EsperarMensaje("ERR-ID:7500021", "cambio rechazado", 48, "Controles_Eliminar");
    EXPECT_EQ(f.txtDescripcion().Texto(), "Desc 0001");
    EXPECT_EQ(Banderas(f), Activa);

    Cargar(f, "0002");
    Pulsar(f, "cmdReactivar");
    EsperarMensaje("ERR-ID:7500022", "cambio rechazado", 48, "Controles_Reactivar()");
    EXPECT_EQ(f.txtProcedimiento2().Text(), "AUT 0002");
    EXPECT_EQ(Contenido("Configuracion_Autorizacion", "1"), antes);
}

TEST_F(PruebaEditor, EliminaYReactivaConSusSentencias)
{
    Fila("0001", "AC");
    frmConfiguracion& f = Editor();
    Cargar(f, "0001");
    conexion->LimpiarBitacora();
    Pulsar(f, "cmdEliminar");
    EXPECT_EQ(conexion->Bitacora(),
              (QStringList{"BeginTrans",
                           " UPDATE Configuracion_Autorizacion SET    Oper_Ult_Modif = 'PRUEBA',    Fecha_Ult_Modif = '2026-12-06T10:30:00',"
                           "   Oper_Baja = 'PRUEBA',    Fecha_Baja = '2026-12-06T10:30:00',    Es_Cve_Estado = 'BA' "
                           " WHERE Ca_Cve_Configuracion_Autorizacion= '0001' ",
                           "CommitTrans"}));
    EXPECT_EQ(Valor("SELECT Es_Cve_Estado || Oper_Baja || Fecha_Baja FROM Configuracion_Autorizacion"), "BAPRUEBA2026-12-06T10:30:00");
    EXPECT_EQ(Textos(f) << Estado(f) << Banderas(f),
              QStringList(11, QString()) << "|clave||0"
                                         << "");

    Cargar(f, "0001");
    g.fechaServidor = QDateTime(QDate(2026, 12, 7), QTime(8, 0, 0));
    conexion->LimpiarBitacora();
    Pulsar(f, "cmdReactivar");
    EXPECT_EQ(conexion->Bitacora(),
              (QStringList{"BeginTrans",
                           " UPDATE Configuracion_Autorizacion SET    Oper_Ult_Modif = 'PRUEBA',    Fecha_Ult_Modif = '2026-12-07T08:00:00', "
                           "   Oper_Baja = '',    Fecha_Baja= NULL,    Es_Cve_Estado = 'AC' "
                           " WHERE Ca_Cve_Configuracion_Autorizacion = '0001' ",
                           "CommitTrans"}));
    EXPECT_EQ(Valor("SELECT Es_Cve_Estado || '|' || Oper_Baja || '|' || COALESCE(Fecha_Baja, 'NULL') FROM Configuracion_Autorizacion"), "AC||NULL");
    EXPECT_EQ(g.llamadas.last(), "LimpiarForma(frmConfiguracion,1)");
    EXPECT_EQ(Textos(f), QStringList(11, QString()));
    EXPECT_TRUE(g.mensajes.isEmpty() && !f.Guardado);
}

// Each row loads a key (or not), shows a tab, presses a command and checks the state reached.
TEST_F(PruebaEditor, TablaDeEstadosDeLosComandos)
{
    Fila("0001", "AC");
    Fila("0002", "BA");
    const QStringList original = Contenido("Configuracion_Autorizacion", "1");
    QStringList consultas;
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::ConsultaRegistro::IdPrograma), [&] { return std::make_unique<ConsultaGrabadora>(consultas); });
    frmConfiguracion& f = Editor();
    f.show();
    struct Caso
    {
        const char* clave;
        int pestania;
        const char* boton;
        const char* estado;
        const char* foco;
        QStringList banderas;
    };
    const Caso casos[] = {
        {"", 3, "cmdNuevo", "0007||resto|0", "txtDescripcion", {""}},           {"", 4, "cmdCancelar", "|clave||0", "txtClave", {""}},
        {"0001", 4, "cmdModificar", "0001||resto|4", "txtDescripcion", Activa}, {"", 4, "cmdCancelar", "|clave||0", "txtClave", {""}},
        {"0001", 2, "cmdInformacion", "0001|clave||2", nullptr, Activa},        {"0002", 1, "cmdExtra", "0007||resto|0", nullptr, {""}},
    };
    for (const Caso& c : casos) {
        if (*c.clave)
            Cargar(f, QLatin1String(c.clave));
        else
            Llenar(f);
        const QStringList antes = Textos(f);
        f.ssTabVex().setActivetab(c.pestania);
        Pulsar(f, c.boton);
        EXPECT_EQ(Estado(f), QLatin1String(c.estado)) << c.boton;
        if (c.foco) {
            EXPECT_EQ(f.focusWidget()->objectName(), QLatin1String(c.foco)) << c.boton;
        }
        EXPECT_EQ(Banderas(f), c.banderas) << c.boton;
        // New empties the fields, Cancel empties them, the rest keep what was shown.
        const QString boton = QLatin1String(c.boton);
        EXPECT_EQ(Textos(f), boton == "cmdNuevo" || boton == "cmdCancelar" ? QStringList(11, QString()) : antes) << c.boton;
    }
    EXPECT_EQ(consultas, QStringList{"Configuracion_Autorizacion|Ca_Cve_Configuracion_Autorizacion|0001||||"});
    EXPECT_TRUE(f.txtClave().ModoNuevo());

    // The copy saves as a new row and leaves the copied one alone.
    const QStringList copiados = Textos(f);
    Pulsar(f, "cmdGuardar");
    EXPECT_EQ(Columnas("0007"), copiados);
    EXPECT_EQ(Contenido("Configuracion_Autorizacion", "1").mid(0, 2), original);
    g.mensajes.clear();

    // Leaving during an edit loses it without asking; Guardado is left alone.
    f.show();
    Cargar(f, "0001");
    Pulsar(f, "cmdModificar");
    f.Guardado = true;
    Pulsar(f, "cmdSalir");
    EXPECT_TRUE(f.isHidden() && f.Guardado && g.mensajes.isEmpty());
}

TEST_F(PruebaEditor, PosicionDeLaVentanaIdaYVuelta)
{
    frmConfiguracion* f = &Editor();
    f->move(100, 60);
    delete f;
    f = &Editor();
    EXPECT_EQ(f->pos(), QPoint(100, 60));
    // Closed maximized only the state is stored; closed minimized nothing is.
    f->setWindowState(Qt::WindowMaximized);
    delete f;
    f = &Editor();
    EXPECT_TRUE(f->windowState() & Qt::WindowMaximized);
    f->setWindowState(Qt::WindowMinimized);
    delete f;
    EXPECT_EQ(Ajustes().value("Settings/Left").toString() + ' ' + Ajustes().value("Settings/WindowState").toString(), "1500 2");
    // Entries that are not numbers count as missing.
    Ajustes().setValue("Settings/Left", "abc");
    Ajustes().setValue("Settings/WindowState", "x");
    f = &Editor();
    EXPECT_TRUE(f->pos() == QPoint(1, 60) && f->windowState() == Qt::WindowNoState);
    // A place no screen shows any more (a monitor unplugged) comes back onto one.
    delete f;
    Ajustes().setValue("Settings/Left", "300000");
    Ajustes().setValue("Settings/Top", "-90000");
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(Editor().pos()));
}

TEST_F(PruebaEditor, TeclasTabuladorAltDigitoYEnter)
{
    frmConfiguracion& f = Editor();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    Pulsar(f, "cmdNuevo");
    QTest::keyClick(&f.txtDescripcion(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), &f.txtPestania());

    // Tab types a tab in the first four statement boxes, not in the fifth.
    for (auto [caja, pestania, texto] : {std::tuple{&f.txtProcedimiento(), 1, "\t"}, std::tuple{&f.txtProcedimiento5(), 5, ""}}) {
        f.ssTabVex().setActivetab(pestania);
        caja->setFocus();
        QTest::keyClick(caja, Qt::Key_Tab);
        EXPECT_EQ(caja->Text(), QLatin1String(texto));
        EXPECT_EQ(QApplication::focusWidget() == caja, *texto != 0);
    }
    // Leaving a box gives every control its tab stop back.
    f.ssTabVex().setActivetab(0);
    f.txtTabla().setFocus();
    EXPECT_TRUE(f.txtDescripcion().TabStop() && f.ssTabVex().TabStop() && f.txtProcedimiento().TabStop());
    QTest::keyClick(&f.txtTabla(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &f.txtClave_Principal());

    // Alt alone with a main-keyboard digit of a tab selects it and types nothing.
    f.txtDescripcion().setFocus();
    f.txtDescripcion().setTexto("");
    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    for (auto [tecla, teclas, pestania] : {std::tuple{Qt::Key_3, alt, 2},
                                           {Qt::Key_1, alt | Qt::ControlModifier, 2},
                                           {Qt::Key_1, alt | Qt::ShiftModifier, 2},
                                           {Qt::Key_1, alt | Qt::KeypadModifier, 2},
                                           {Qt::Key_7, alt, 2},
                                           {Qt::Key_6, alt, 5}}) {
        QTest::keyClick(&f.txtDescripcion(), tecla, teclas);
        EXPECT_EQ(f.ssTabVex().activetab(), pestania) << tecla << " " << teclas.toInt();
    }
    EXPECT_FALSE(f.txtDescripcion().Texto().contains(u'3') || f.txtDescripcion().Texto().contains(u'6') || !f.isVisible());

    // A new record, no record loaded before, reads as SQL.
    EXPECT_FALSE(f.txtProcedimiento3().document()->findChildren<QSyntaxHighlighter*>().isEmpty());
    // F9 rehearses the record being edited, in a window of its own.
    QString probado;
    AlAbrirseModal(
        sondeos, [] { return qobject_cast<rm640::frmEnsayo*>(QApplication::activeModalWidget()); },
        [&](QWidget& w) { probado = static_cast<rm640::frmEnsayo&>(w).Informe(); });
    QTest::keyClick(&f.txtDescripcion(), Qt::Key_F9);
    EXPECT_TRUE(QTest::qWaitFor([&] { return probado.startsWith("La consulta del listado falla"); }));
}

// A stored text comes back from a load and a save exactly as it was, by
// either road to the database (update, or a copy inserted).
TEST_F(PruebaEditor, CadaCaracterSobreviveCargaYGuardado)
{
    const QString texto = "Área\u00A0año\t'x'\r\n\"Ñ\"\u00A0";
    const QStringList& columnas = NombresColumnas;
    QList<std::pair<QString, QVariant>> fila = {{"Es_Cve_Estado", "AC"}};
    for (const QString& c : columnas)
        fila.append({c, texto});
    ASSERT_TRUE(Configuracion("0001", fila));
    frmConfiguracion& f = Editor();
    QStringList esperado(columnas.size(), texto);
    for (const auto& [comando, clave] : {std::pair{"cmdModificar", "0001"}, {"cmdExtra", "0007"}}) {
        Cargar(f, "0001");
        Pulsar(f, comando);
        // A line typed into an edited box ends like the text's own lines.
        f.txtProcedimiento4().moveCursor(QTextCursor::End);
        QTest::keyClicks(&f.txtProcedimiento4(), "\rok");
        Pulsar(f, "cmdGuardar");
        ASSERT_TRUE(f.Guardado) << comando;
        esperado[9] += "\r\nok";
        EXPECT_EQ(Columnas(clave), esperado) << comando;
    }
}

// Alt with anything but a tab's digit types nothing: not in the key field,
// where it would empty the record, nor in a statement box.
TEST_F(PruebaEditor, AltSinPestaniaNoEscribe)
{
    Fila("0001", "AC");
    frmConfiguracion& f = Editor();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    Cargar(f, "0001");
    const std::pair<char, Qt::KeyboardModifiers> teclas[]
        = {{'#', Qt::AltModifier | Qt::ShiftModifier}, {'5', Qt::AltModifier | Qt::KeypadModifier}, {'7', Qt::AltModifier}};
    for (const auto& [tecla, mods] : teclas)
        QTest::keyClick(&f.txtClave(), tecla, mods);
    EXPECT_EQ(f.txtClave().Texto() + f.txtDescripcion().Texto(), "0001Desc 0001");
    Pulsar(f, "cmdModificar");
    f.ssTabVex().setActivetab(1);
    f.txtProcedimiento().setFocus();
    for (const auto& [tecla, mods] : teclas)
        QTest::keyClick(&f.txtProcedimiento(), tecla, mods);
    EXPECT_TRUE(f.txtProcedimiento().Text() == "SELECT 1" && f.ssTabVex().activetab() == 1);
}

// Probar runs both statements of every demo configuration on a pending
// document as the review road would, and every table stays as it was.
TEST_F(PruebaEditor, ProbarCadaDemoNoEscribeYMuestraElErrorDeLaBase)
{
    CargarDemo();
    orvinda::ServidorPaginas::Instalar();
    g.parametros["GEN_URL"] = "orvinda://web";
    const QStringList antes = TodoElContenido();
    for (const QString clave : {"0001", "0002", "0003", "0004"}) {
        const auto [autorizacion, rechazo] = EnsayarDemo(clave);
        EXPECT_EQ(autorizacion.error + rechazo.error, "") << clave.toStdString();
        EXPECT_TRUE(autorizacion.filas == 1 && rechazo.filas == 1 && autorizacion.sentencia.contains("'Probado'") && autorizacion.comentario == "Probado");
        EXPECT_EQ(autorizacion.formato,
                  Valor("SELECT Ca_Formato_Impresion FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '" + clave + "'"));
    }
    EXPECT_EQ(TodoElContenido(), antes);
    EXPECT_TRUE(g.LlamadasA("GuardarComentario").isEmpty() && g.mensajes.isEmpty());

    frmConfiguracion& f = frmConfiguracion::Instancia();
    f.txtProcedimiento5().setText("UPDATE NoExiste SET x = 1 WHERE f = '{FOLIO}'");
    rm640::frmEnsayo roto(f.ConfiguracionEnPantalla(), &f);
    // Opened on its first folio, ready to rehearse.
    ASSERT_TRUE(roto.Informe().startsWith("Documento " + roto.Folios().value(0) + ".")) << roto.Informe().toStdString();
    EXPECT_TRUE(roto.EnsayarRechazo().error.contains("no such table: NoExiste"));
    EXPECT_TRUE(roto.Informe().contains("UPDATE NoExiste SET x = 1 WHERE f = '" + roto.Folios().value(0) + "'")) << roto.Informe().toStdString();
}

// One row per check: a change to the first demo configuration that trips
// it. The configuration as shipped trips none, and checking writes nothing.
TEST_F(PruebaEditor, VerificarNombraCadaErrorYSuElemento)
{
    CargarDemo();
    using C = rm640::ConfiguracionAutorizacion;
    const C demo = *C::Leer(*conexion, "0001");
    const QStringList antes = TodoElContenido();
    EXPECT_EQ(rm640::Verificacion::Texto(rm640::Verificacion::Completa(demo)), "");
    struct Caso
    {
        QString C::*texto;
        QString de, a;
        const char* aviso;
    };
    const Caso casos[] = {
        {&C::sql, "SELECT", "SELEC", "SQL selección de datos: la base de datos no la acepta"},
        {&C::sql, "", "DELETE FROM Empleados WHERE 1 = 0", "SQL selección de datos: La consulta del listado no devuelve ninguna columna"},
        {&C::sqlAutorizacion, "UPDATE", "UPDAT", "SQL autorización: la base de datos no la acepta"},
        {&C::plantilla, "Folio {FOLIO}", "Folio {FOLIO} {NO_HAY}", "HTML plantilla: {NO_HAY} no lo llena ninguna columna"},
        {&C::camposAutorizar, ",CUENTA", ", CUENTA", "Campos a recuperar: ' CUENTA_PRESUPUESTAL' tiene espacios"},
        {&C::camposAutorizar, "CUENTA_PRESUPUESTAL", "cuenta_presupuestal", "'cuenta_presupuestal' no está en mayúsculas"},
        {&C::camposAutorizar, "CUENTA_PRESUPUESTAL", "CUENTA_PRESUPUESTA", "'CUENTA_PRESUPUESTA' no es una columna"},
        {&C::camposAutorizar, "*MONTO_AUTORIZADO", "*MONTO_AUTORIZADO,*PRIORIDAD", "HTML plantilla: el campo obligatorio 'PRIORIDAD' no tiene ningún elemento"},
        {&C::plantilla, "<div class=\"revision\">", "<div class=\"revision\"><input name=\"MONTO_AUTORIZADO\">", "'MONTO_AUTORIZADO' tiene 2 elementos"},
        {&C::sqlRechazar, "'{FOLIO}'", "Rq_Folio", "SQL rechazar: no menciona {FOLIO}"},
        {&C::sqlRechazar, "'{OPERADOR}'", "'{OPERADOR}{CUENTA_PRESUPUESTAL}'", "SQL rechazar: {CUENTA_PRESUPUESTAL} nunca se sustituye"},
        {&C::sqlAutorizacion, "'{FECHA}'", "{FECHA}", "SQL autorización: El valor del campo 'FECHA' no se puede usar"},
    };
    for (const Caso& c : casos) {
        C mala = demo;
        QString& texto = mala.*c.texto;
        texto = c.de.isEmpty() ? c.a : QString(texto).replace(c.de, c.a);
        const QString avisos = rm640::Verificacion::Texto(rm640::Verificacion::Completa(mala));
        EXPECT_TRUE(avisos.contains(QString::fromUtf8(c.aviso))) << c.aviso << "\n" << avisos.toStdString();
    }
    EXPECT_EQ(TodoElContenido(), antes);

    // In the editor: the command's message; while editing, the texts' checks
    // warn as the author types, and the save still goes ahead.
    frmConfiguracion& f = Editor();
    Cargar(f, "0001");
    f.Verificar();
    EsperarMensaje("ERR-ID:7500092", "La configuración no tiene avisos.", 64, "Verificar");
    Pulsar(f, "cmdModificar");
    f.txtCampos1().setTexto("*MONTO_AUTORIZADO, CUENTA_PRESUPUESTAL");
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.lblAvisos().text().contains("' CUENTA_PRESUPUESTAL' tiene espacios"); }));
    Pulsar(f, "cmdGuardar");
    EXPECT_EQ(f.Guardado, true);
}

// At the smallest size every toolbar command is in sight; the statement
// boxes grow both ways; a shown record's box is read-only yet selectable.
TEST_F(PruebaEditor, TamanioMinimoCajasQueCrecenYLecturaSeleccionable)
{
    Fila("0001", "BA");
    frmConfiguracion& f = Editor();
    f.show();
    Cargar(f, "0001");
    EXPECT_TRUE(f.lblEstado().text().contains("ELIMINADA") && f.txtProcedimiento2().isReadOnly() && f.txtProcedimiento2().QWidget::isEnabled());
    const QSize diseno = f.txtProcedimiento2().size();
    f.resize(1, 1);
    for (const char* comando : {"", "cmdExtra"}) {
        if (*comando)
            Pulsar(f, comando);
        QTest::qWait(20);
        for (QToolButton* b : f.Controles().findChildren<QToolButton*>())
            EXPECT_TRUE(!b->isVisible() || f.rect().contains(QRect(b->mapTo(&f, QPoint()), b->size()))) << b->objectName().toStdString();
    }
    EXPECT_EQ(f.txtProcedimiento2().viewport()->palette().color(QPalette::Base), QColor(255, 255, 255));
    f.resize(1400, 900);
    EXPECT_TRUE(f.txtProcedimiento2().width() > diseno.width() && f.txtProcedimiento2().height() > diseno.height());
}
