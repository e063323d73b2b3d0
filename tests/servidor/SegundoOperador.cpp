// A second shell for the concurrency tests: its own process, its own
// connection, the shell's real services, messages to a trace.
//   segundo_operador CADENA autorizar FOLIO TRAZA
//   segundo_operador CADENA configuracion DESCRIPCION TRAZA
// Exit code 0 when the document was processed or the configuration saved.

#include "comun/EntornoPrueba.h"
#include "editor/frmConfiguracion.h"
#include "host/controles/ListView.h"
#include "host/controles/WebBrowser.h"
#include "host/datos/Conexion.h"
#include "host/servicios/TablaClases.h"
#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "review/frmAutorizacion.h"
#include "servicios/Mensajero.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/SistemaOrvinda.h"
#include "servicios/Traza.h"
#include "servicios/UtileriasOrvinda.h"

#include <QApplication>
#include <cstdio>

using namespace orvinda;

namespace {

int Autorizar(const QString& folio)
{
    rm640::frmRM640& bandeja = rm640::frmRM640::Instancia();
    bandeja.Form_Load();
    EntornoPrueba::Activar(bandeja);
    ListView& lista = bandeja.lvInsidencias(0);
    for (int i = 0; i < lista.ListItemsCount(); ++i)
        if (lista.ListItemText(i) == folio)
            lista.setSelectedIndex(i);

    // Inside the dialog's modal loop: press Autorizar once the page holds the document.
    bool procesado = false;
    QObject sondeos;
    AlAbrirseModal(
        sondeos, [] { return rm640::frmAutorizacion::ExisteInstancia() ? &rm640::frmAutorizacion::Instancia() : nullptr; },
        [&](QWidget& w) {
            auto& d = static_cast<rm640::frmAutorizacion&>(w);
            if (EsperarPagina(d.WebBrowser1(), folio, 60000)) {
                d.CmdAutorizado_Click();
                procesado = d.Procesado();
            }
        });
    bandeja.lvInsidencias_DblClick(0);
    delete &bandeja;
    return procesado ? 0 : 1;
}

int GuardarConfiguracion(const QString& descripcion)
{
    rm640::frmConfiguracion& editor = rm640::frmConfiguracion::Instancia();
    editor.Cargar();
    EntornoPrueba::CapturarConfiguracionNueva(editor, descripcion);
    bool esNuevo = true;
    editor.Controles_Guardar(esNuevo);
    const bool guardado = editor.Guardado;
    delete &editor;
    return guardado ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    ServidorPaginas::RegistrarEsquema();
    QApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 5) {
        std::fprintf(stderr, "uso: segundo_operador CADENA autorizar FOLIO TRAZA | CADENA configuracion DESCRIPCION TRAZA\n");
        return 2;
    }
    Traza traza(a[4]);
    Mensajero mensajero(&traza, true);
    std::unique_ptr<Conexion> conexion = Conexion::Abrir(a[1]);
    conexion->AlRegistrar([&traza](const QString& s) { traza.Sentencia(s); });
    Conexion* c = conexion.get();
    TablaClases::Registrar(QString::fromLatin1(Sistema::IdPrograma), [&] { return std::make_unique<SistemaOrvinda>(*c, mensajero, "OPERADOR2", 4); });
    TablaClases::Registrar(QString::fromLatin1(Utilerias::IdPrograma), [&] { return std::make_unique<UtileriasOrvinda>(*c, "OPERADOR2"); });
    ServidorPaginas::Instalar();
    rm640::Publico::Main();
    const int codigo = a[2] == QLatin1String("autorizar") ? Autorizar(a[3]) : GuardarConfiguracion(a[3]);
    rm640::Publico::Terminar();
    TablaClases::RetirarTodas();
    return codigo;
}
