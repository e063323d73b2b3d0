// Bulk authorization on the demo database: 100 pending requisitions
// authorized at once, each rendered off-screen, read and authorized in its
// own transaction as the review dialog would. Printing is left out (the
// printer does nothing); the database statements of the run are timed again
// on the same connection, for comparison, and the decision log's part of
// each document where it happens (from the head's lock to the commit). Then
// as many more with values shared by the whole run, put into the fields the
// pages leave empty, against the plain run per document. Run offscreen:
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

struct Corrida
{
    rm640::AutorizacionEnLote::Resumen resumen;
    double total = 0, primero = 0, resto = 0;
    // The decision log's part, from the head's lock to the commit.
    double bitacora = 0;
};

Corrida Correr(Conexion& conexion, const QStringList& folios, const QVariantMap& valores)
{
    Corrida r;
    std::vector<double> momentos;
    QElapsedTimer reloj;
    double inicioBitacora = -1;
    conexion.AlRegistrar([&](const QString& paso) {
        if (paso.startsWith(QLatin1String("SELECT Bc_Ultimo_Id")))
            inicioBitacora = Ms(reloj);
        else if (paso == QLatin1String("CommitTrans") && inicioBitacora >= 0) {
            r.bitacora += Ms(reloj) - inicioBitacora;
            inicioBitacora = -1;
        }
    });
    reloj.start();
    rm640::AutorizacionEnLote lote(QStringLiteral("0001"), folios);
    lote.setValoresComunes(valores);
    QObject::connect(&lote, &rm640::AutorizacionEnLote::Avance, [&](int, int) { momentos.push_back(Ms(reloj)); });
    QEventLoop espera;
    QObject::connect(&lote, &rm640::AutorizacionEnLote::Terminada, &espera, &QEventLoop::quit);
    lote.Iniciar();
    espera.exec();
    conexion.AlRegistrar(nullptr);
    r.resumen = lote.ObtenerResumen();
    r.total = Ms(reloj);
    r.primero = momentos.size() > 1 ? momentos[1] : r.total;
    r.resto = (r.total - r.primero) / std::max<qsizetype>(1, folios.size() - 1);
    return r;
}

} // namespace

int main(int argc, char* argv[])
{
    AplicacionBench app(argc, argv);
    // Each of the two runs; the demo has pending requisitions for two of 50.
    const int documentos = argc > 1 ? std::max(2, std::atoi(argv[1])) : 50;

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
    while (q.next() && folios.size() < 2 * documentos)
        folios << q.value(0).toString();
    if (folios.size() < 2 * documentos) {
        std::fprintf(stderr, "only %lld pending requisitions\n", static_cast<long long>(folios.size()));
        return EXIT_FAILURE;
    }

    conexion->LimpiarBitacora();
    const Corrida simple = Correr(*conexion, folios.mid(0, documentos), {});
    const auto& resumen = simple.resumen;
    const double total = simple.total;
    // A copy: the replay adds its own statements to the log.
    const double bd = TiempoSentencias(*conexion, QStringList(conexion->Bitacora()));

    // The first document starts the browser's renderer: shown apart.
    std::printf("documents: %lld, authorized: %lld, pending: %lld\n", static_cast<long long>(documentos),
                static_cast<long long>(resumen.autorizados.size()), static_cast<long long>(resumen.pendientes.size()));
    for (const auto& p : resumen.pendientes.mid(0, 3))
        std::printf("  pending %s: %s\n", qPrintable(p.folio), qPrintable(p.motivo));
    std::printf("total %.1f ms, %.1f ms per document (first %.1f ms, then %.1f ms each)\n", total, total / documentos,
                simple.primero, simple.resto);
    std::printf("database statements of the run: %.1f ms (%.2f ms per document)\n", bd, bd / documentos);
    const double porDocumento = simple.bitacora / std::max<qsizetype>(1, resumen.autorizados.size());
    std::printf("decision log: %.3f ms per document; target 3 ms or less: %s\n", porDocumento,
                porDocumento <= 3.0 ? "met" : "NOT met");
    std::printf("target: 100 ms or less per document, printing excluded: %s\n",
                total / documentos <= 100.0 && resumen.autorizados.size() == documentos ? "met" : "NOT met");

    // The same road with the values a bulk form gives: the account every
    // page leaves empty, and an amount each page already has (the page's wins).
    const Corrida comun = Correr(*conexion, folios.mid(documentos),
                                 {{QStringLiteral("CUENTA_PRESUPUESTAL"), QStringLiteral("5100-01")},
                                  {QStringLiteral("MONTO_AUTORIZADO"), QStringLiteral("1.00")}});
    const double razon = comun.resto / std::max(0.001, simple.resto);
    std::printf("with shared values: %lld of %lld authorized, %.1f ms per document after the first; plain run %.1f ms;"
                " ratio %.2f; target no slower (1.10 or less): %s\n",
                static_cast<long long>(comun.resumen.autorizados.size()), static_cast<long long>(documentos),
                comun.resto, simple.resto, razon, razon <= 1.10 ? "met" : "NOT met");
    const bool todos = resumen.autorizados.size() == documentos && comun.resumen.autorizados.size() == documentos;

    rm640::Publico::Terminar();
    orvinda::TablaClases::RetirarTodas();
    return todos ? EXIT_SUCCESS : EXIT_FAILURE;
}
