#pragma once

#include "comun/EntornoPrueba.h"
#include "editor/Verificacion.h"
#include "editor/frmBuscarConfiguracion.h"
#include "editor/frmConfiguracion.h"
#include "editor/frmEnsayo.h"
#include "host/controles/Controles.h"
#include "host/controles/ListView.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/ssTbVex.h"
#include "host/controles/txtVEX.h"
#include "host/servicios/ConsultaRegistro.h"
#include "host/servicios/TablaClases.h"
#include "publico/Publico.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/UtileriasOrvinda.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QSyntaxHighlighter>
#include <QTest>
#include <QToolButton>

using rm640::frmConfiguracion;

// The editor's fixture, shared by the editor's test files.
namespace pruebas_editor {

// The eleven non-key contents in column order, with every quote character
// that the statements must carry through unchanged; a configuration without
// errors, which saves without a question.
const QStringList Datos = QStringLiteral("Requisición de 'compras'|Compras|FTO_REQ|REQUISICIONES|FOLIO|SELECT Folio\n\tFROM Req WHERE Es_Cve_Estado <> 'BA' "
                                         "AND Nota = \"x\"|UPDATE Req SET Estado = 'AU' WHERE Folio = '{FOLIO}'|*MONTO,COMENTARIO_DOCUMENTO 'libre'|"
                                         "SELECT * FROM Req WHERE Folio = '{FOLIO}'|<p class=\"doc\">Folio {FOLIO} d'Artagnan</p><input name=\"MONTO\">"
                                         "<textarea name=\"COMENTARIO_DOCUMENTO 'libre'\"></textarea>|"
                                         "UPDATE Req SET Estado = 'RE' WHERE Folio = \"{FOLIO}\"")
                              .split(u'|');
const QStringList Activa{"Informacion", "Modificar", "Eliminar", "Copiar"};

const QStringList NombresColumnas
    = {"Ca_Descripcion",      "Ca_Etiqueta",      "Ca_Formato_Impresion",      "Ca_Tabla",       "Ca_Tabla_Clave", "Ca_Sql", "Ca_Sql_Autoriazion",
       "Ca_Campos_Autorizar", "Ca_Sql_Plantilla", "Ca_Plantilla_Autorizacion", "Ca_Sql_Rechazar"};

// The same values as the statements must write them.
const QString Valores
    = QStringLiteral("'Requisición de ''compras''',    'Compras',    'FTO_REQ',    'REQUISICIONES',    'FOLIO', "
                     "   \"SELECT Folio\n\tFROM Req WHERE Es_Cve_Estado <> 'BA' AND Nota = \"\"x\"\"\", "
                     "   \"UPDATE Req SET Estado = 'AU' WHERE Folio = '{FOLIO}'\",    '*MONTO,COMENTARIO_DOCUMENTO ''libre''', "
                     "   \"SELECT * FROM Req WHERE Folio = '{FOLIO}'\",    '<p class=\"doc\">Folio {FOLIO} d''Artagnan</p><input name=\"MONTO\">"
                     "<textarea name=\"COMENTARIO_DOCUMENTO ''libre''\"></textarea>', "
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

} // namespace pruebas_editor
