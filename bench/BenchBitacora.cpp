// The decision log's cost. On the demo database (SQLite): what writing the
// log adds to a warm authorization (timed where it happens, from the head's
// lock to the commit), and how long the history window takes to open on
// 100,000 log rows. On the tests' PostgreSQL, when it can be started: eight
// sessions deciding at once, decisions per second with the log and without
// it, and the chain verified at the end. Run offscreen:
//   QT_QPA_PLATFORM=offscreen ./bench_bitacora [authorizations]

#include "AplicacionBench.h"
#include "basedatos/EsquemaBaseDatos.h"
#include "host/bitacora/EscrituraBitacora.h"
#include "host/bitacora/RegistroBitacora.h"
#include "host/bitacora/VerificacionBitacora.h"
#include "host/controles/ListView.h"
#include "host/datos/Conexion.h"
#include "host/datos/Transaccion.h"
#include "host/servicios/TablaClases.h"
#include "inbox/frmHistorial.h"
#include "publico/Publico.h"
#include "review/RevisionDocumento.h"
#include "servicios/Mensajero.h"

#ifdef RM640_CON_SERVIDOR
#include "comun/ServidorPostgres.h"
#endif

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

using orvinda::Conexion;

namespace {

double Ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

double Mediana(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Authorizations of the demo's pending requisitions, each timed whole and
// in its log part: from the head's lock, the log's first statement, to the
// commit.
bool MedirAutorizaciones(Conexion& conexion, int cuantas)
{
    QStringList folios;
    QSqlQuery q(conexion.BaseDatos());
    q.exec(QStringLiteral("SELECT Rq_Folio FROM Requisiciones_Compra WHERE Rq_Estado = 'PE' ORDER BY Rq_Folio"));
    while (q.next() && folios.size() < cuantas)
        folios << q.value(0).toString();
    QElapsedTimer reloj;
    double inicio = -1;
    std::vector<double> bitacora, total;
    conexion.AlRegistrar([&](const QString& paso) {
        if (paso.startsWith(QLatin1String("SELECT Bc_Ultimo_Id")))
            inicio = Ms(reloj);
        else if (paso == QLatin1String("CommitTrans") && inicio >= 0) {
            bitacora.push_back(Ms(reloj) - inicio);
            inicio = -1;
        }
    });
    const auto valor = [](const QString& campo) {
        return campo == QLatin1String("MONTO_AUTORIZADO") ? QStringLiteral("100.00") : QStringLiteral("Visto bueno");
    };
    QString motivo;
    const auto nada = [&motivo](const QString& texto, int, const QString&, const QString&) { motivo = texto; };
    int hechas = 0;
    for (const QString& folio : folios) {
        reloj.start();
        const auto a = rm640::RevisionDocumento::Autorizar(
            nada, QStringLiteral("0001"), QStringLiteral("REQUISICIONES_COMPRA"), folio,
            QStringLiteral("*MONTO_AUTORIZADO,CUENTA_PRESUPUESTAL,COMENTARIO_DOCUMENTO"), valor);
        total.push_back(Ms(reloj));
        hechas += a.ejecutada ? 1 : 0;
        if (!a.ejecutada)
            std::printf("%s not authorized: %s\n", qPrintable(folio), qPrintable(motivo));
    }
    conexion.AlRegistrar({});
    // The first ones warm the statement caches: the rest are what counts.
    const auto calientes = [](std::vector<double> v) {
        return std::vector<double>(v.begin() + std::min<size_t>(5, v.size() / 2), v.end());
    };
    const double log = Mediana(calientes(bitacora));
    std::printf("warm authorization (SQLite, %d of %lld authorized): median %.2f ms, of which the log %.3f ms\n",
                hechas, static_cast<long long>(folios.size()), Mediana(calientes(total)), log);
    std::printf("target: the log adds 2 ms or less to a warm authorization: %s\n", log <= 2.0 ? "met" : "NOT met");
    // The demo holds a few of the operator's own requests, refused as they must be.
    return hechas > 0;
}

// 100,000 rows of twenty operators over a year; the window opened as
// GCOMPRAS (level 4: own rows of the last 30 days), until its list is full.
bool MedirHistorial(Conexion& conexion)
{
    QSqlQuery q(conexion.BaseDatos());
    const bool ok = q.exec(QStringLiteral(
        "INSERT INTO Bitacora_Decisiones (Bd_Id, Bd_Fecha, Bd_Operador, Bd_Cuenta, Bd_Maquina, Bd_Clave, Bd_Tabla, "
        "Bd_Folio,"
        " Bd_Decision, Bd_Valores, Bd_Sentencia, Bd_Filas, Bd_Comentario, Bd_Origen, Bd_Hash_Anterior, Bd_Hash)"
        " WITH RECURSIVE n(i) AS (SELECT (SELECT COALESCE(MAX(Bd_Id), 0) + 1 FROM Bitacora_Decisiones)"
        "   UNION ALL SELECT i + 1 FROM n WHERE i < (SELECT COALESCE(MAX(Bd_Id), 0) + 100000 FROM Bitacora_Decisiones))"
        " SELECT i, strftime('%Y-%m-%dT%H:%M:%f', 'now', 'localtime', '-' || (i % 365) || ' days'),"
        " CASE WHEN i % 20 = 0 THEN 'GCOMPRAS' ELSE 'OP' || (i % 20) END, 'cuenta', 'equipo', '0001',"
        " 'REQUISICIONES_COMPRA', 'REQ-' || i, CASE WHEN i % 3 = 0 THEN 'RE' ELSE 'AU' END,"
        " '[{\"campo\":\"MONTO_AUTORIZADO\",\"valor\":\"100.00\"}]', 'UPDATE Requisiciones_Compra SET Rq_Estado = "
        "''AU''',"
        " 1, 'Comentario ' || i, 'DIALOGO', '-', '-' FROM n"));
    if (!ok) {
        std::printf("history window: the 100,000 rows could not be written: %s\n", qPrintable(q.lastError().text()));
        return false;
    }
    std::vector<double> tiempos;
    for (int vez = 0; vez < 5; ++vez) {
        QElapsedTimer reloj;
        reloj.start();
        rm640::frmHistorial ventana;
        QSignalSpy lleno(&ventana.lvDecisiones(), &orvinda::ListView::LlenadoTerminado);
        ventana.show();
        ventana.Consultar();
        if (!lleno.wait(30000)) {
            std::printf("history window: its list was not full after 30 s\n");
            return false;
        }
        tiempos.push_back(Ms(reloj));
        if (vez == 0)
            std::printf("history window: %d rows of GCOMPRAS in the last 30 days\n",
                        ventana.lvDecisiones().ListItemsCount());
    }
    const double mediana = Mediana(tiempos);
    std::printf("history window opened on 100,000 log rows: median %.1f ms (first %.1f ms)\n", mediana,
                tiempos.front());
    std::printf("target: 300 ms or less: %s\n", mediana <= 300.0 ? "met" : "NOT met");
    return true;
}

#ifdef RM640_CON_SERVIDOR
// Eight sessions, each deciding on documents of its own: a statement and,
// with the log, its row, in one transaction.
void MedirConcurrencia(const QString& destino, bool conBitacora, int porSesion)
{
    constexpr int sesiones = 8;
    std::atomic<int> hechas{0}, fallidas{0};
    QElapsedTimer reloj;
    reloj.start();
    std::vector<std::thread> hilos;
    for (int s = 0; s < sesiones; ++s)
        hilos.emplace_back([&, s] {
            try {
                const auto c = Conexion::Abrir(destino);
                for (int i = 0; i < porSesion; ++i) {
                    orvinda::Transaccion t(*c);
                    c->Execute(QStringLiteral("UPDATE Documentos_Bench SET Estado = 'AU' WHERE Folio = %1")
                                   .arg(s * porSesion + i));
                    if (conBitacora) {
                        orvinda::RegistroBitacora r;
                        r.operador = QStringLiteral("OP%1").arg(s);
                        r.decision = orvinda::RegistroBitacora::Autorizacion;
                        r.origen = QStringLiteral("LOTE");
                        r.folio = QString::number(s * porSesion + i);
                        r.sentencia = QStringLiteral("UPDATE Documentos_Bench SET Estado = 'AU'");
                        r.filas = 1;
                        orvinda::EscrituraBitacora::Anotar(*c, r);
                    }
                    t.Confirmar();
                    ++hechas;
                }
            } catch (const std::exception& e) {
                ++fallidas;
                std::fprintf(stderr, "%s\n", e.what());
            }
        });
    for (std::thread& h : hilos)
        h.join();
    const double ms = Ms(reloj);
    std::printf("8 concurrent sessions on PostgreSQL, %s: %d decisions in %.0f ms, %.0f decisions per second%s\n",
                conBitacora ? "with the log" : "without the log", hechas.load(), ms, hechas * 1000.0 / ms,
                fallidas ? " (some sessions failed)" : "");
}

void MedirServidor(int porSesion)
{
    ServidorPostgres servidor;
    if (!servidor.Activo() || !servidor.CrearBaseDatos(QStringLiteral("bench_bitacora"))) {
        std::printf("PostgreSQL: skipped (%s)\n", qPrintable(servidor.Motivo()));
        return;
    }
    const QString destino = servidor.CadenaOdbc(QStringLiteral("bench_bitacora"));
    {
        const auto c = Conexion::Abrir(destino);
        QSqlDatabase db = c->BaseDatos();
        orvinda::EsquemaBaseDatos::Crear(db);
        c->Execute(QStringLiteral("CREATE TABLE Documentos_Bench (Folio INTEGER PRIMARY KEY, Estado VARCHAR(2))"));
        c->Execute(QStringLiteral("INSERT INTO Documentos_Bench SELECT g, 'PE' FROM generate_series(0, %1) g")
                       .arg(8 * porSesion));
    }
    MedirConcurrencia(destino, false, porSesion);
    {
        const auto c = Conexion::Abrir(destino);
        c->Execute(QStringLiteral("UPDATE Documentos_Bench SET Estado = 'PE'"));
    }
    MedirConcurrencia(destino, true, porSesion);
    const auto c = Conexion::Abrir(destino);
    const auto r = orvinda::VerificacionBitacora::Verificar(*c);
    std::printf("chain after the concurrent run: %s\n", qPrintable(r.Informe()));
}
#endif

} // namespace

int main(int argc, char* argv[])
{
    AplicacionBench app(argc, argv);
    const int autorizaciones = argc > 1 ? std::max(10, std::atoi(argv[1])) : 60;

    QTemporaryDir carpeta;
    orvinda::Mensajero mensajero(nullptr, true);
    std::unique_ptr<Conexion> conexion
        = AplicacionBench::AbrirDemo(carpeta.filePath(QStringLiteral("bench.db")), mensajero);
    rm640::Publico::Main();

    const bool bien = MedirAutorizaciones(*conexion, autorizaciones) && MedirHistorial(*conexion);
#ifdef RM640_CON_SERVIDOR
    MedirServidor(250);
#endif
    rm640::Publico::Terminar();
    orvinda::TablaClases::RetirarTodas();
    return bien ? EXIT_SUCCESS : EXIT_FAILURE;
}
