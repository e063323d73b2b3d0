#pragma once

#include "comun/Ayudas.h"
#include "comun/AyudasVentanas.h"
#include "comun/Grabacion.h"
#include "comun/ImpresionQt.h"
#include "editor/Ensayo.h"
#include "host/datos/Conexion.h"
#include "review/AutorizacionEnLote.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace rm640 {
class frmAutorizacion;
class frmRM640;
class frmConfiguracion;
class frmRechazar;
} // namespace rm640

// The fixture every component test stands on: a temporary SQLite database
// with the shell's tables, the recording shell registered as the service
// classes, the per-user settings and component registry in a temporary folder.
class EntornoPrueba : public ::testing::Test
{
public:
    // A new configuration started in the editor, every required field filled.
    static void CapturarConfiguracionNueva(rm640::frmConfiguracion& editor, const QString& descripcion = "Autorización de anticipos");
    // The editor's eleven fields after the key, in column order.
    static void LlenarEditor(rm640::frmConfiguracion& editor, const QStringList& valores);
    static QStringList TextosEditor(const rm640::frmConfiguracion& editor);
    // A run of several documents driven to its end by the event loop;
    // pregunta is asked before each document, and false cancels there.
    static rm640::AutorizacionEnLote::Resumen Lote(const QString& clave, const QStringList& folios, std::function<bool(int hechos, int total)> pregunta = {});
    // Activates the inbox and waits for its refresh to end.
    static void Activar(rm640::frmRM640& bandeja);

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
    QStringList Contenido(const QString& tabla, const QString& orden);
    // Every row of every table, to show that nothing was written.
    QStringList TodoElContenido();
    // A demo configuration loaded into the editor and rehearsed on its first
    // pending folio, "Probado" typed as the document's comment and 1 into
    // each required field: what the authorization and the rejection would do.
    std::pair<rm640::Ensayo::Resultado, rm640::Ensayo::Resultado> EnsayarDemo(const QString& clave);
    bool Configuracion(const QString& clave, const QList<std::pair<QString, QVariant>>& columnas);
    // A pending requisition of the demo, rendered as the inbox renders it and
    // shown in the review dialog, once its page holds the document.
    rm640::frmAutorizacion& MostrarRequisicionDemo(const QString& folio);
    // The comment dialog loaded afresh and shown for a document, its comment typed.
    static rm640::frmRechazar& MostrarRechazo(const QString& tabla, const QString& folio, const QString& clave, const QString& comentario);
    // Drives a modal dialog from inside its loop; see AlAbrirseModal.
    template <typename Forma>
    void AlAbrirse(std::function<void(Forma&)> accion)
    {
        AlAbrirseModal(
            sondeos, [] { return Forma::ExisteInstancia() ? &Forma::Instancia() : nullptr; }, [accion](QWidget& w) { accion(static_cast<Forma&>(w)); });
    }

    QTemporaryDir carpeta;
    std::unique_ptr<orvinda::Conexion> conexion;
    Grabacion g;
    QObject sondeos;
};
