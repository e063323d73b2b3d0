#pragma once

// The review road's fixture: a table of documents under two configurations,
// the inbox and the dialog opened as the reviewer opens them, on each engine.

#include "comun/EnCadaBase.h"
#include "comun/EntornoPrueba.h"
#include "comun/ImpresorGrabador.h"
#include "comun/SistemaGrabador.h"
#include "host/controles/ListView.h"
#include "host/controles/SSTab.h"
#include "host/controles/WebBrowser.h"
#include "host/controles/flatButton.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/Impresor.h"
#include "host/servicios/TablaClases.h"
#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "review/AutorizacionEnLote.h"
#include "review/RevisionDocumento.h"
#include "review/frmAutorizacion.h"
#include "review/frmRechazar.h"
#include "servicios/ServidorPaginas.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTestEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

using namespace rm640;
using orvinda::ErrorRm;

inline const QString Clave = "0100";
inline const QString SelectPlantilla = QStringLiteral(" SELECT  Ca_Sql_Plantilla,  Ca_Plantilla_Autorizacion  FROM Configuracion_Autorizacion "
                                                      " where Ca_Cve_Configuracion_Autorizacion='0100' ");
inline const QString SelectAutorizacion = QStringLiteral(" SELECT    Ca_Sql_Autoriazion,    Ca_Sql_Plantilla  FROM Configuracion_Autorizacion "
                                                         " where Ca_Cve_Configuracion_Autorizacion = '0100' ");
inline const QString SelectRechazo = " SELECT    Ca_Sql_Rechazar  FROM Configuracion_Autorizacion  where Ca_Cve_Configuracion_Autorizacion='0100' ";

inline const QString ListaDocumentos = "SELECT Folio, Monto FROM Documentos WHERE Estado = 'PE' ORDER BY Folio";
inline const QString ConsultaPlantilla
    = QStringLiteral("SELECT Folio AS FOLIO, Monto AS MONTO, Proveedor AS PROVEEDOR, '' AS CUENTA, '' AS COMENTARIO_DOCUMENTO"
                     " FROM Documentos WHERE Folio = '{FOLIO}'");
// Tokens in any case take their column's value.
inline const QString Plantilla = QStringLiteral("<div id=\"prueba\"><h1>Folio {folio}</h1><p>{Proveedor}</p><input id=\"MONTO\" value=\"{MONTO}\">"
                                                "<input name=\"CUENTA\" value=\"{CUENTA}\"><textarea id=\"COMENTARIO_DOCUMENTO\"></textarea></div>");
// What the inbox hands over, tokens filled.
inline const QString Pagina = QStringLiteral("<div id=\"prueba\"><input id=\"MONTO\" value=\"100.00\"><input name=\"CUENTA\" value=\"\">"
                                             "<textarea id=\"COMENTARIO_DOCUMENTO\"></textarea></div>");
inline const QString Autorizacion
    = QStringLiteral("UPDATE Documentos SET Estado = 'AU', Monto = '{MONTO}', Cuenta = '{CUENTA}', Nota = '{COMENTARIO_DOCUMENTO}',"
                     " Oper = '{OPERADOR}', Fecha = '{FECHA}' WHERE Folio = '{FOLIO}'");
inline const QString Rechazo = "UPDATE Documentos SET Estado = 'RE', Oper = '{OPERADOR}', Fecha = '{FECHA}' WHERE Folio = '{FOLIO}'";
// The decision's row in the log: after its statement, before the commit.
// How each engine reads the log's head and binds its row is the log's own
// tests' business.
inline const QString LeerCabeza = "SQL <cabeza de la bitácora>";
inline const QString EscribirFila = "SQL <fila de la bitácora>";
inline const QStringList AnotarDecision
    = {"ObtenerConexion()", LeerCabeza, EscribirFila, "SQL UPDATE Bitacora_Cabeza SET Bc_Ultimo_Id = ?, Bc_Hash = ? WHERE Bc_Clave = 1"};
inline const QString BuscarFormato = "BuscarValor(Configuracion_Autorizacion,Ca_Cve_Configuracion_Autorizacion,0100,Ca_Formato_Impresion,0,,,)";

class SistemaSinOperador : public SistemaGrabador
{
public:
    using SistemaGrabador::SistemaGrabador;
    QString ObtenerOperador() override { throw ErrorRm("La sesión del operador expiró."); }
};

class PruebaRevision : public EnCadaMotor<EntornoPrueba>
{
protected:
    void SetUp() override
    {
        EnCadaMotor::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        orvinda::ServidorPaginas::Instalar();
        orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Impresor::IdPrograma),
                                        [this] { return std::make_unique<ImpresorGrabador>(impresiones, vivos, fallaImpresion); });
        g.parametros["GEN_URL"] = "orvinda://web";
        // Statements and service calls in one list, so that their order shows.
        conexion->AlRegistrar([this](const QString& s) {
            g.llamadas.append(s.startsWith(QLatin1String("SELECT Bc_Ultimo_Id, Bc_Hash, "))         ? LeerCabeza
                                  : s.startsWith(QLatin1String("INSERT INTO Bitacora_Decisiones ")) ? EscribirFila
                                                                                                    : "SQL " + s);
        });
    }

    void TearDown() override
    {
        frmRechazar::Unload();
        frmAutorizacion::Unload();
        EntornoPrueba::TearDown();
    }

    void Iniciar()
    {
        Publico::Main();
        g.llamadas.clear();
    }

    void Configurar(const QString& columna, const QString& valor)
    {
        QSqlQuery q(conexion->BaseDatos());
        q.prepare(QStringLiteral("UPDATE Configuracion_Autorizacion SET %1 = ? WHERE Ca_Cve_Configuracion_Autorizacion = '0100'").arg(columna));
        q.addBindValue(valor);
        ASSERT_TRUE(q.exec());
    }

    // Three pending documents under configuration 0100, two under 0200.
    void CrearDocumentos(const QString& formato = QString())
    {
        Ejecutar(QStringLiteral("CREATE TABLE Documentos (Folio TEXT PRIMARY KEY, Estado TEXT, Monto TEXT, Proveedor TEXT,"
                                " Cuenta TEXT, Nota TEXT, Oper TEXT, Fecha TEXT)"));
        Ejecutar(QStringLiteral("INSERT INTO Documentos (Folio, Estado, Monto, Proveedor) VALUES ('D-1', 'PE', '100.00', 'Papelera'),"
                                " ('D-2', 'PE', '250.50', 'Aceros Apodaca'), ('D-3', 'PE', '75.25', 'Limpieza')"));
        Ejecutar("CREATE TABLE Otros (Folio TEXT PRIMARY KEY, Estado TEXT)");
        Ejecutar("INSERT INTO Otros VALUES ('X-1', 'PE'), ('X-2', 'PE')");
        ASSERT_TRUE(Configuracion(Clave,
                                  {{"Ca_Etiqueta", "Documentos"},
                                   {"Ca_Formato_Impresion", formato},
                                   {"Ca_Tabla", "DOCUMENTOS"},
                                   {"Ca_Sql", ListaDocumentos},
                                   {"Ca_Sql_Plantilla", ConsultaPlantilla},
                                   {"Ca_Plantilla_Autorizacion", Plantilla},
                                   {"Ca_Campos_Autorizar", "*MONTO,CUENTA,COMENTARIO_DOCUMENTO"},
                                   {"Ca_Sql_Autoriazion", Autorizacion},
                                   {"Ca_Sql_Rechazar", Rechazo}}));
        ASSERT_TRUE(Configuracion("0200",
                                  {{"Ca_Etiqueta", "Otros"},
                                   {"Ca_Tabla", "OTROS"},
                                   {"Ca_Formato_Impresion", ""},
                                   {"Ca_Campos_Autorizar", ""},
                                   {"Ca_Sql_Rechazar", "UPDATE Otros SET Estado = 'RE'"},
                                   {"Ca_Sql", "SELECT Folio FROM Otros WHERE Estado = 'PE' ORDER BY Folio"},
                                   {"Ca_Sql_Plantilla", "SELECT Folio AS FOLIO FROM Otros WHERE Folio = '{FOLIO}'"},
                                   {"Ca_Plantilla_Autorizacion", "<p id=\"prueba\">{FOLIO}</p>"},
                                   {"Ca_Sql_Autoriazion", "UPDATE Otros SET Estado = 'AU' WHERE Folio = '{FOLIO}'"}}));
    }

    frmRM640& AbrirBandeja()
    {
        frmRM640& forma = frmRM640::Instancia();
        forma.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return forma.Cargado(); }, 10000));
        g.llamadas.clear();
        return forma;
    }

    // The dialog loaded and shown as the inbox would, once its page holds the document.
    frmAutorizacion& MostrarDialogo(const QString& folio, const QString& html = Pagina)
    {
        frmAutorizacion& d = CargarDialogo(folio, html);
        d.show();
        EXPECT_TRUE(EsperarDocumento(d));
        g.llamadas.clear();
        return d;
    }

    // The page holds the document, and the dialog knows it: its buttons act.
    static frmAutorizacion& CargarDialogo(const QString& folio, const QString& html = Pagina)
    {
        frmAutorizacion& d = frmAutorizacion::Load();
        d.setPlantilla(html);
        d.setTabla("DOCUMENTOS");
        d.setFolio(folio);
        d.setCampos("*MONTO,CUENTA,COMENTARIO_DOCUMENTO");
        d.setClave(Clave);
        return d;
    }

    static bool EsperarDocumento(frmAutorizacion& d, const QString& marca = "id=\"prueba\"")
    {
        return QTest::qWaitFor([&] { return d.DocumentoListo(); }, 20000) && EsperarPagina(d.WebBrowser1(), marca);
    }

    static void Escribir(frmAutorizacion& d, const QString& campo, const QString& valor)
    {
        d.WebBrowser1().page()->runJavaScript(
            QStringLiteral("(document.getElementById('%1') || document.getElementsByName('%1')[0]).value = '%2';").arg(campo, valor),
            QWebEngineScript::ApplicationWorld);
    }

    // Runs accion inside the dialog's modal loop once its page holds the document.
    void AlAbrirseDialogo(std::function<void(frmAutorizacion&)> accion, const QString& marca = "id=\"prueba\"")
    {
        AlAbrirse<frmAutorizacion>([accion, marca](frmAutorizacion& d) {
            EXPECT_TRUE(EsperarDocumento(d, marca));
            accion(d);
        });
    }

    QStringList Sentencias() const
    {
        QStringList r;
        for (const QString& l : g.llamadas)
            if (l.startsWith(QLatin1String("SQL ")))
                r.append(l.mid(4));
        return r;
    }

    QString ErrorDe(const QString& sentencia)
    {
        return DescripcionDe([&] { conexion->Execute(sentencia); });
    }

    // Stores a statement the database refuses, for folio; gives the refusal's text.
    QString Estropear(const QString& columna, const QString& mala, const QString& folio)
    {
        Configurar(columna, QString(mala).replace(folio, "{FOLIO}"));
        return ErrorDe(mala);
    }
    QStringList Documentos() { return Contenido("Documentos", "Folio"); }

    QStringList impresiones;
    int vivos = 0;
    QString fallaImpresion;
};
