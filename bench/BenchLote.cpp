// Bulk authorization on the demo database: 100 pending requisitions
// authorized at once, each rendered off-screen, read and authorized in its
// own transaction as the review dialog would. Printing is left out (the
// printer does nothing); the database statements of the run are timed again
// on the same connection, for comparison, and the decision log's part of
// each document where it happens (from the head's lock to the commit). Run
// offscreen:
//   QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" ./bench_lote [documents]

#include "AplicacionBench.h"
#include "host/datos/Conexion.h"
#include "host/servicios/Impresor.h"
#include "host/servicios/TablaClases.h"
#include "publico/Publico.h"
#include "review/AutorizacionEnLote.h"
#include "servicios/Mensajero.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/SistemaOrvinda.h"
#include "servicios/UtileriasOrvinda.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <vector>

using orvinda::Conexion;

namespace {

struct ImpresorMudo : orvinda::Impresor
{
    void Imprimir(const QString&, const QString&, const QString&, int, int, const QString&) override { }
};

double Ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// The run's own statements again, writes rolled back; the log's, whose
// values are bound, are timed where they happen instead.
double TiempoSentencias(Conexion& c, const QStringList& sentencias)
{
    c.BeginTrans();
    QElapsedTimer t;
    t.start();
    for (const QString& s : sentencias)
        if (!s.endsWith(QLatin1String("Trans")) && !s.contains(QLatin1String("Bitacora_")))
            c.Execute(s);
    const double ms = Ms(t);
    c.RollbackTrans();
    return ms;
}

} // namespace

int main(int argc, char* argv[])
{
    AplicacionBench app(argc, argv);
    const int documentos = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;

    QTemporaryDir carpeta;
    orvinda::Mensajero mensajero(nullptr, true);
    std::unique_ptr<Conexion> conexion
        = AplicacionBench::AbrirDemo(carpeta.filePath(QStringLiteral("bench.db")), mensajero);
    conexion->ObservarBitacora();
    QSqlDatabase db = conexion->BaseDatos();
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Impresor::IdPrograma),
                                    [] { return std::make_unique<ImpresorMudo>(); });
    orvinda::ServidorPaginas::Instalar();
    rm640::Publico::Main();

    // Pending requisitions but the bench operator's own: nobody decides on
    // their own request.
    QStringList folios;
    QSqlQuery q(db);
    q.exec(QStringLiteral("SELECT r.Rq_Folio FROM Requisiciones_Compra r JOIN Empleados e ON e.Em_Cve_Empleado = "
                          "r.Em_Cve_Empleado WHERE r.Rq_Estado = 'PE' AND COALESCE(e.Op_Cve_Operador, '') <> 'GCOMPRAS'"
                          " ORDER BY r.Rq_Folio"));
    while (q.next() && folios.size() < documentos)
        folios << q.value(0).toString();
    if (folios.size() < documentos) {
        std::fprintf(stderr, "only %lld pending requisitions\n", static_cast<long long>(folios.size()));
        return EXIT_FAILURE;
    }

    std::vector<double> momentos;
    QElapsedTimer reloj;
    conexion->LimpiarBitacora();
    double inicioBitacora = -1, bitacora = 0;
    conexion->AlRegistrar([&](const QString& paso) {
        if (paso.startsWith(QLatin1String("SELECT Bc_Ultimo_Id")))
            inicioBitacora = Ms(reloj);
        else if (paso == QLatin1String("CommitTrans") && inicioBitacora >= 0) {
            bitacora += Ms(reloj) - inicioBitacora;
            inicioBitacora = -1;
        }
    });
    reloj.start();
    rm640::AutorizacionEnLote lote(QStringLiteral("0001"), folios);
    QObject::connect(&lote, &rm640::AutorizacionEnLote::Avance, [&](int, int) { momentos.push_back(Ms(reloj)); });
    QEventLoop espera;
    QObject::connect(&lote, &rm640::AutorizacionEnLote::Terminada, &espera, &QEventLoop::quit);
    lote.Iniciar();
    espera.exec();
    const auto& resumen = lote.ObtenerResumen();
    const double total = Ms(reloj);
    // A copy: the replay adds its own statements to the log.
    const double bd = TiempoSentencias(*conexion, QStringList(conexion->Bitacora()));

    // The first document starts the browser's renderer: shown apart.
    const double primero = momentos.size() > 1 ? momentos[1] : total;
    const double resto = (total - primero) / std::max<qsizetype>(1, folios.size() - 1);
    std::printf("documents: %lld, authorized: %lld, pending: %lld\n", static_cast<long long>(folios.size()),
                static_cast<long long>(resumen.autorizados.size()), static_cast<long long>(resumen.pendientes.size()));
    for (const auto& p : resumen.pendientes.mid(0, 3))
        std::printf("  pending %s: %s\n", qPrintable(p.folio), qPrintable(p.motivo));
    std::printf("total %.1f ms, %.1f ms per document (first %.1f ms, then %.1f ms each)\n", total,
                total / folios.size(), primero, resto);
    std::printf("database statements of the run: %.1f ms (%.2f ms per document)\n", bd, bd / folios.size());
    const double porDocumento = bitacora / std::max<qsizetype>(1, resumen.autorizados.size());
    std::printf("decision log: %.3f ms per document; target 3 ms or less: %s\n", porDocumento,
                porDocumento <= 3.0 ? "met" : "NOT met");
    std::printf("target: 100 ms or less per document, printing excluded: %s\n",
                total / folios.size() <= 100.0 && resumen.autorizados.size() == folios.size() ? "met" : "NOT met");

    rm640::Publico::Terminar();
    orvinda::TablaClases::RetirarTodas();
    return resumen.autorizados.size() == folios.size() ? EXIT_SUCCESS : EXIT_FAILURE;
}
