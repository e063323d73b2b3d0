#pragma once

#include "comun/Grabacion.h"
#include "comun/ImpresionQt.h"
#include "host/datos/Conexion.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace rm640 {
class frmAutorizacion;
class frmConfiguracion;
}

// The fixture every component test stands on: a temporary SQLite database
// with the shell's tables, the recording shell registered as the service
// classes, the per-user settings and component registry in a temporary folder.
class EntornoPrueba : public ::testing::Test
{
protected:
    void SetUp() override;
    // Where the test's database lives: a temporary SQLite file unless a
    // fixture puts it on a server.
    virtual QString DestinoBaseDatos();
    void TearDown() override;

    void CargarDemo();
    // Runs a statement of the test itself, outside the statement log.
    void Ejecutar(const QString& sentencia);
    // The first column of the first row, as text ("" when no row, "<NULL>" for NULL).
    QString Valor(const QString& consulta);
    // Every row of a table as text, for comparing before and after a failure.
    QStringList Contenido(const QString& tabla, const QString& orden);
    // A pending requisition of the demo, rendered as the inbox renders it and
    // shown in the review dialog, once its page holds the document.
    rm640::frmAutorizacion& MostrarRequisicionDemo(const QString& folio);
    // A new configuration started in the editor, every required field filled.
    static void CapturarConfiguracionNueva(rm640::frmConfiguracion& editor);

    QTemporaryDir carpeta;
    std::unique_ptr<orvinda::Conexion> conexion;
    Grabacion g;
};
