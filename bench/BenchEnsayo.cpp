// Probar on the demo database: from choosing a pending requisition to the
// document shown in the review page and both statements run and rolled
// back, and the same rehearsal without the page (rendering and the two
// statements only), on SQLite and, where a server of the tests' own can be
// started, on PostgreSQL over ODBC. Target: 300 ms or less. Run offscreen:
//   QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" ./bench_ensayo

#include "AplicacionBench.h"
#include "basedatos/EsquemaBaseDatos.h"
#include "config/ConfiguracionAutorizacion.h"
#include "editor/Ensayo.h"
#include "editor/frmEnsayo.h"
#include "host/datos/Conexion.h"
#include "host/servicios/TablaClases.h"
#include "publico/Publico.h"
#include "servicios/Mensajero.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/SistemaOrvinda.h"
#include "servicios/UtileriasOrvinda.h"
#include "shell/CreacionDemo.h"
#ifdef RM640_CON_SERVIDOR
#include "comun/ServidorPostgres.h"
#endif

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using orvinda::Conexion;

namespace {

constexpr int kVueltas = 20;
constexpr double kObjetivoMs = 300.0;

double Ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

struct Resumen
{
    double minimo, mediana, maximo;
};

Resumen Resumir(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v.front(), v[v.size() / 2], v.back()};
}

// Every row of every table, to show the rehearsal wrote nothing.
QStringList Todo(QSqlDatabase db)
{
    QStringList todo;
    for (const QString& tabla : db.tables()) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT * FROM %1").arg(tabla));
        while (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                todo.append(q.value(i).toString());
    }
    todo.sort();
    return todo;
}

// Measures on the database at destino, created with the demo data; false
// when a round failed or a table changed.
bool Medir(const QString& nombre, const QString& destino)
{
    std::printf("== %s\n", qPrintable(nombre));
    std::unique_ptr<Conexion> conexion = Conexion::Abrir(destino);
    QSqlDatabase db = conexion->BaseDatos();
    orvinda::EsquemaBaseDatos::Crear(db);
    orvinda::CreacionDemo::Llenar(*conexion);
    orvinda::Mensajero mensajero(nullptr, true);
    AplicacionBench::RegistrarServicios(*conexion, mensajero);
    rm640::Publico::Terminar();
    rm640::Publico::Main();
    const auto fin = qScopeGuard([] { rm640::Publico::Terminar(); });

    const std::optional<rm640::ConfiguracionAutorizacion> configuracion
        = rm640::ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("0001"));
    if (!configuracion)
        return false;
    const QStringList antes = Todo(db);

    // The window: choose a folio, wait for the page, run both statements.
    rm640::frmEnsayo ventana(*configuracion, nullptr);
    ventana.show();
    const int folios = int(ventana.Folios().size());
    std::printf("configuration 0001: %d pending folios listed\n", folios);
    if (folios == 0)
        return false;
    int fallas = 0;
    std::vector<double> conPagina;
    for (int i = 0; i <= kVueltas; ++i) {
        // Waits in an event loop, as the dialog's own modal loop would: a
        // polling wait adds its sleeps to every round trip of the page.
        bool mostrado = false;
        QEventLoop bucle;
        const QMetaObject::Connection aviso = QObject::connect(&ventana, &rm640::frmEnsayo::DocumentoMostrado, [&] {
            mostrado = true;
            bucle.quit();
        });
        QTimer::singleShot(20000, &bucle, &QEventLoop::quit);
        QElapsedTimer reloj;
        reloj.start();
        const bool renderizado = ventana.MostrarFolio(i % folios);
        if (renderizado)
            bucle.exec();
        const bool listo = renderizado && mostrado;
        const rm640::Ensayo::Resultado a = ventana.EnsayarAutorizacion();
        const rm640::Ensayo::Resultado r = ventana.EnsayarRechazo();
        const double ms = Ms(reloj);
        QObject::disconnect(aviso);
        if (!listo || !a.error.isEmpty() || !r.error.isEmpty() || a.filas != 1 || r.filas != 1) {
            std::fprintf(stderr, "round %d failed: %s %s\n", i, qPrintable(a.error), qPrintable(r.error));
            ++fallas;
            continue;
        }
        // The first round starts the browser's renderer: reported apart.
        if (i == 0)
            std::printf("cold (renderer start): %.1f ms\n", ms);
        else
            conPagina.push_back(ms);
    }

    // The engine alone: rendering and both statements, the page's values given.
    const rm640::Ensayo ensayo(*configuracion);
    std::vector<double> sinPagina;
    for (int i = 0; i < kVueltas; ++i) {
        const QString folio = ventana.Folios().value(i % folios);
        QElapsedTimer reloj;
        reloj.start();
        ensayo.Renderizar(folio);
        const rm640::Ensayo::Resultado a = ensayo.Autorizar(folio, [](const QString&) { return QStringLiteral("1"); });
        const rm640::Ensayo::Resultado r = ensayo.Rechazar(folio);
        sinPagina.push_back(Ms(reloj));
        if (a.filas != 1 || r.filas != 1)
            ++fallas;
    }
    const bool intacta = Todo(db) == antes;

    if (conPagina.empty())
        return false;
    const Resumen p = Resumir(conPagina), s = Resumir(sinPagina);
    std::printf("\n%-52s %8s %8s %8s\n", "ms", "min", "median", "max");
    std::printf("%-52s %8.1f %8.1f %8.1f\n", "folio chosen -> page shown, both statements run", p.minimo, p.mediana,
                p.maximo);
    std::printf("%-52s %8.1f %8.1f %8.1f\n", "render + both statements, no page", s.minimo, s.mediana, s.maximo);
    std::printf("rounds: %zu, failed: %d; database unchanged: %s; target: median %.0f ms or less: %s (%.2fx of "
                "target)\n",
                conPagina.size(), fallas, intacta ? "yes" : "NO", kObjetivoMs,
                p.mediana <= kObjetivoMs ? "met" : "NOT met", p.mediana / kObjetivoMs);

    return fallas == 0 && intacta;
}

} // namespace

int main(int argc, char* argv[])
{
    AplicacionBench app(argc, argv);
    orvinda::ServidorPaginas::Instalar();

    QTemporaryDir carpeta;
    bool bien = Medir(QStringLiteral("SQLite"), carpeta.filePath(QStringLiteral("bench.db")));
#ifdef RM640_CON_SERVIDOR
    ServidorPostgres servidor;
    if (servidor.Activo() && servidor.CrearBaseDatos(QStringLiteral("ensayo")))
        bien = Medir(QStringLiteral("PostgreSQL over ODBC (loopback)"), servidor.CadenaOdbc(QStringLiteral("ensayo")))
            && bien;
    else
        std::printf("== PostgreSQL over ODBC: skipped (%s)\n", qPrintable(servidor.Motivo()));
#endif
    orvinda::TablaClases::RetirarTodas();
    return bien ? EXIT_SUCCESS : EXIT_FAILURE;
}
