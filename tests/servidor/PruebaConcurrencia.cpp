#include "servidor/EntornoServidor.h"

#include "editor/frmConfiguracion.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/txtVEX.h"
#include "review/AutorizacionEnLote.h"
#include "review/frmAutorizacion.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

// The other shell: a process of its own with a connection of its own.
class PruebaConcurrencia : public EntornoServidor
{
protected:
    int SegundoOperador(const QString& accion, const QString& dato)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QCoreApplication::applicationDirPath() + "/segundo_operador", {cadena, accion, dato, Traza()});
        if (!p.waitForFinished(120000))
            return -1;
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    }
    QString Traza() { return carpeta.path() + "/segundo.txt"; }
};

} // namespace

TEST_F(PruebaConcurrencia, UnDocumentoAutorizadoPorOtroOperadorNoSeAplicaDosVeces)
{
    // This operator has the document open, its page filled in...
    rm640::frmAutorizacion& d = MostrarRequisicionDemo(folio);

    // ...when another operator, in another shell, authorizes it.
    ASSERT_EQ(SegundoOperador("autorizar", folio), 0) << LeerArchivo(Traza()).toStdString();
    const QStringList tras = Contenido("Requisiciones_Compra", "Rq_Folio");
    EXPECT_EQ(Valor(QStringLiteral("SELECT Rq_Oper_Autoriza FROM Requisiciones_Compra WHERE Rq_Folio = '%1'").arg(folio)), "OPERADOR2");

    // The guarded statement changes no row: nothing is applied twice, the
    // comment the page handed over goes with it, and the operator is told
    // why the document leaves the inbox.
    const QString comentarios = Valor("SELECT COUNT(*) FROM Comentarios_Documento");
    ASSERT_TRUE(EscribirCampo(d.WebBrowser1(), "COMENTARIO_DOCUMENTO", "Visto bueno"));
    conexion->LimpiarBitacora();
    d.CmdAutorizado_Click();
    EXPECT_TRUE(conexion->Bitacora().count("RollbackTrans") == 1 && Contenido("Requisiciones_Compra", "Rq_Folio") == tras);
    EXPECT_TRUE(g.LlamadasA("GuardarComentario").size() == 1 && Valor("SELECT COUNT(*) FROM Comentarios_Documento") == comentarios);
    EXPECT_EQ(g.Avisos(),
              QStringList{QStringLiteral("ERR-ID:7500057|64|Autorizar|frmAutorizacion|El documento %1 ya no está"
                                         " pendiente: otro operador lo procesó antes. No se aplicó ningún cambio.")
                              .arg(folio)});
    EXPECT_TRUE(d.Procesado() && !d.isVisible());
}

// In bulk, on the server: the document another operator took stays pending
// with the notice; the next one is authorized at its proposed amount, which
// the server wrote with thousands separators.
TEST_F(PruebaConcurrencia, EnLoteElDocumentoTomadoQuedaPendienteYElSiguienteSeAutoriza)
{
    const QString siguiente = Valor("SELECT MIN(Rq_Folio) FROM Requisiciones_Compra WHERE Rq_Estado = 'PE' AND Rq_Folio > '" + folio + "'");
    ASSERT_EQ(SegundoOperador("autorizar", folio), 0) << LeerArchivo(Traza()).toStdString();
    const auto r = Lote("0001", {folio, siguiente});
    EXPECT_TRUE(r.autorizados == QStringList{siguiente} && r.pendientes.size() == 1
                && r.pendientes[0].motivo == "El documento " + folio + " ya no está pendiente: otro operador lo procesó antes. No se aplicó ningún cambio.");
    EXPECT_EQ(Valor("SELECT Rq_Estado FROM Requisiciones_Compra WHERE Rq_Monto_Autorizado = Rq_Total AND Rq_Folio = '" + siguiente + "'"), "AU");
}

TEST_F(PruebaConcurrencia, DosEditoresConLaMismaClaveNuevaYElSegundoConservaLoCapturado)
{
    g.siguienteClave = Valor("SELECT COUNT(*) FROM Configuracion_Autorizacion").toInt() + 1;
    rm640::frmConfiguracion& editor = rm640::frmConfiguracion::Instancia();
    editor.Cargar();
    CapturarConfiguracionNueva(editor);
    const QString clave = editor.txtClave().Texto();

    // The key is still free when this editor checks it; the other editor
    // saves the same key before this one's insert reaches the server.
    int segundo = -1;
    conexion->AntesDeCadaPaso([&](const QString& paso) {
        if (paso == QLatin1String("BeginTrans") && segundo < 0)
            segundo = SegundoOperador("configuracion", "Guardada por el otro editor");
    });
    bool esNuevo = true;
    editor.Controles_Guardar(esNuevo);
    conexion->AntesDeCadaPaso(nullptr);

    ASSERT_EQ(segundo, 0) << LeerArchivo(Traza()).toStdString();
    EXPECT_EQ(Valor(QStringLiteral("SELECT Ca_Descripcion FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '%1'").arg(clave)),
              "Guardada por el otro editor");
    ASSERT_EQ(g.Avisos().size(), 1);
    EXPECT_TRUE(g.Avisos()[0].startsWith("ERR-ID:7500020|16|ERROR|frmConfiguracion|") && g.Avisos()[0].contains("duplicate key"))
        << g.Avisos()[0].toStdString();
    EXPECT_FALSE(editor.Guardado);
    EXPECT_EQ((QStringList{editor.txtClave().Texto(), editor.txtDescripcion().Texto(), editor.txtProcedimiento5().Text()}),
              (QStringList{clave, "Autorización de anticipos", "UPDATE Anticipos SET Estado = 'RE' WHERE Folio = '{FOLIO}'"}));
    // The session is usable again: the rollback left nothing open.
    EXPECT_TRUE(!conexion->EnTransaccion() && conexion->Bitacora().last() == "SET QUOTED_IDENTIFIER ON");
}
