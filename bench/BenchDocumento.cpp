// The document road on the demo database, its requisitions list grown to
// 5,000 pending rows: the time from the double click to the document shown
// in the review page, from Ctrl+PageDown in the open dialog to the next
// document shown, and from "Autorizar" to the reloaded list, each beside
// the time its database statements take when run again, in the same run, on
// the same connection. Run offscreen:
//   QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" ./bench_documento

#include "AplicacionBench.h"
#include "basedatos/DatosDemo.h"
#include "host/controles/ListView.h"
#include "host/datos/Conexion.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/TablaClases.h"
#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "review/ReglasDePagina.h"
#include "review/frmAutorizacion.h"
#include "servicios/ImpresorOrvinda.h"
#include "servicios/Mensajero.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/SistemaOrvinda.h"
#include "servicios/UtileriasOrvinda.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using orvinda::Conexion;
using rm640::frmAutorizacion;
using rm640::frmRM640;

namespace {

constexpr int kFilas = 5000;
constexpr int kAperturas = 15;
constexpr int kAutorizaciones = 8;
constexpr int kAvances = 30;

double Ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// Pending requisitions cloned from the newest one until the list has kFilas rows.
bool Crecer(QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM Requisiciones_Compra WHERE Rq_Estado = 'PE'")) || !q.next())
        return false;
    const int faltan = kFilas - q.value(0).toInt();
    if (faltan <= 0)
        return true;
    const QString sql
        = QStringLiteral(
              "INSERT INTO Requisiciones_Compra (Rq_Folio, Rq_Fecha, Rq_Fecha_Requerida, Em_Cve_Empleado, "
              "Dp_Cve_Departamento,"
              " Rq_Prioridad, Rq_Justificacion, Rq_Subtotal, Rq_Iva, Rq_Total, Rq_Detalle_Html, Rq_Estado)"
              " WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
              " SELECT 'REQ-2026-' || printf('%05d', i), r.Rq_Fecha, r.Rq_Fecha_Requerida, r.Em_Cve_Empleado,"
              " r.Dp_Cve_Departamento, r.Rq_Prioridad, r.Rq_Justificacion, r.Rq_Subtotal, r.Rq_Iva, r.Rq_Total,"
              " r.Rq_Detalle_Html, 'PE'"
              " FROM n, Requisiciones_Compra r"
              " WHERE r.Rq_Folio = (SELECT MAX(Rq_Folio) FROM Requisiciones_Compra)")
              .arg(faltan);
    if (!q.exec(sql)) {
        std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
        return false;
    }
    return true;
}

// The statements of one measured step, run again on the same connection;
// writes inside a transaction that is rolled back. The decision log's bind
// their values and are left out (bench_bitacora times them).
double TiempoSentencias(Conexion& c, const QStringList& sentencias)
{
    QStringList propias;
    for (const QString& s : sentencias)
        if (s != QLatin1String("BeginTrans") && s != QLatin1String("CommitTrans") && s != QLatin1String("RollbackTrans")
            && !s.contains(QLatin1String("Bitacora_")))
            propias.append(s);
    c.BeginTrans();
    QElapsedTimer t;
    t.start();
    for (const QString& s : propias)
        c.Execute(s);
    const double ms = Ms(t);
    c.RollbackTrans();
    return ms;
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

// Sees every review dialog being shown and lets the run hook its signal
// before the page can finish loading.
class Observador : public QObject
{
public:
    std::function<void(frmAutorizacion&)> alMostrarse;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() == QEvent::Show && alMostrarse)
            if (auto* d = qobject_cast<frmAutorizacion*>(objeto))
                alMostrarse(*d);
        return QObject::eventFilter(objeto, evento);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    AplicacionBench app(argc, argv);

    QTemporaryDir carpeta;
    std::unique_ptr<Conexion> conexion = Conexion::Abrir(carpeta.filePath(QStringLiteral("bench.db")));
    conexion->ObservarBitacora();
    QSqlDatabase db = conexion->BaseDatos();
    orvinda::DatosDemo::Cargar(db);
    if (!Crecer(db))
        return EXIT_FAILURE;

    orvinda::Mensajero mensajero(nullptr, true);
    Conexion* c = conexion.get();
    const QString pdf = carpeta.filePath(QStringLiteral("pdf"));
    AplicacionBench::RegistrarServicios(*conexion, mensajero);
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Impresor::IdPrograma), [=] {
        return std::make_unique<orvinda::ImpresorOrvinda>(*c, nullptr, nullptr, pdf);
    });
    orvinda::ServidorPaginas::Instalar();
    rm640::Publico::Main();

    frmRM640& forma = frmRM640::Instancia();
    forma.show();
    // The lists fill after the refresh has made their tabs.
    if (!QTest::qWaitFor([&] { return forma.Cargado() && !forma.Refrescando(); }, 30000)
        || forma.lvInsidencias(0).ListItemsCount() == 0) {
        std::fprintf(stderr, "the inbox did not fill\n");
        return EXIT_FAILURE;
    }
    orvinda::ListView& lista = forma.lvInsidencias(0);
    std::printf("list 0: %d pending requisitions\n", lista.ListItemsCount());

    Observador observador;
    app.installEventFilter(&observador);
    int fallas = 0;

    // Opening: double click to the document in the page, then Cancelar.
    std::vector<double> aperturas, aperturasBd, lecturas;
    for (int i = 0; i <= kAperturas; ++i) {
        lista.setSelectedIndex(i * 97 % lista.ListItemsCount());
        conexion->LimpiarBitacora();
        QElapsedTimer reloj;
        double mostrado = -1;
        observador.alMostrarse = [&](frmAutorizacion& d) {
            QObject::connect(&d, &frmAutorizacion::PlantillaMostrada, &d, [&] {
                if (mostrado >= 0)
                    return;
                mostrado = Ms(reloj);
                // What "Autorizar" reads of the page first: its fields' values
                // and the rules they break, in one answer.
                QTimer::singleShot(0, &d, [&] {
                    QElapsedTimer lectura;
                    lectura.start();
                    d.WebBrowser1().LeerCampos(rm640::ReglasDePagina::Nombres(d.Campos()));
                    lecturas.push_back(Ms(lectura));
                    d.cmdCancelar_Click();
                });
            });
        };
        reloj.start();
        emit lista.DblClick();
        if (mostrado < 0) {
            ++fallas;
            continue;
        }
        const double bd = TiempoSentencias(*conexion, conexion->Bitacora());
        // The first opening starts the browser's renderer: reported apart.
        if (i == 0) {
            std::printf("cold open: %.1f ms (database statements %.2f ms)\n", mostrado, bd);
            continue;
        }
        aperturas.push_back(mostrado);
        aperturasBd.push_back(bd);
    }

    // Moving on: Ctrl+PageDown in the open dialog to the next document in
    // its page, without leaving it.
    std::vector<double> avances, avancesBd;
    {
        lista.setSelectedIndex(0);
        QElapsedTimer reloj;
        observador.alMostrarse = [&](frmAutorizacion& d) {
            // A step that never shows its document ends the run, not the bench.
            QTimer::singleShot(60000, &d, [&d] { d.cmdCancelar_Click(); });
            QObject::connect(&d, &frmAutorizacion::PlantillaMostrada, &d, [&] {
                if (reloj.isValid()) {
                    avances.push_back(Ms(reloj));
                    avancesBd.push_back(TiempoSentencias(*conexion, conexion->Bitacora()));
                }
                if (avances.size() >= kAvances) {
                    QTimer::singleShot(0, &d, [&d] { d.cmdCancelar_Click(); });
                    return;
                }
                QTimer::singleShot(0, &d, [&] {
                    conexion->LimpiarBitacora();
                    reloj.start();
                    QTest::keyClick(&d, Qt::Key_PageDown, Qt::ControlModifier);
                });
            });
        };
        emit lista.DblClick();
        if (avances.size() < kAvances)
            ++fallas;
    }

    // Authorizing: "Autorizar" to the list reloaded (read again off the GUI
    // thread once the dialog has closed).
    std::vector<double> autorizaciones, autorizacionesBd;
    for (int i = 0; i < kAutorizaciones; ++i) {
        lista.setSelectedIndex(i * 131 % lista.ListItemsCount());
        const int antes = lista.ListItemsCount();
        QElapsedTimer reloj;
        qsizetype desde = -1;
        observador.alMostrarse = [&](frmAutorizacion& d) {
            QObject::connect(&d, &frmAutorizacion::PlantillaMostrada, &d, [&] {
                if (desde >= 0)
                    return;
                conexion->LimpiarBitacora();
                desde = 0;
                QTimer::singleShot(0, &d, [&] {
                    reloj.start();
                    d.CmdAutorizado_Click();
                });
            });
        };
        emit lista.DblClick();
        QTest::qWaitFor([&] { return !lista.Llenando(); }, 30000);
        const double total = reloj.isValid() ? Ms(reloj) : -1;
        if (total < 0 || lista.ListItemsCount() != antes - 1) {
            ++fallas;
            continue;
        }
        autorizaciones.push_back(total);
        autorizacionesBd.push_back(TiempoSentencias(*conexion, conexion->Bitacora()));
    }
    observador.alMostrarse = nullptr;

    if (aperturas.empty() || autorizaciones.empty() || avances.empty()) {
        std::fprintf(stderr, "no measurement completed (%d failed)\n", fallas);
        return EXIT_FAILURE;
    }
    const Resumen a = Resumir(aperturas), ab = Resumir(aperturasBd), l = Resumir(lecturas);
    const Resumen z = Resumir(autorizaciones), zb = Resumir(autorizacionesBd);
    const Resumen v = Resumir(avances), vb = Resumir(avancesBd);
    std::printf("\n%-34s %8s %8s %8s   %s\n", "ms (min / median / max)", "min", "median", "max",
                "database statements (median)");
    std::printf("%-34s %8.1f %8.1f %8.1f   %.2f\n", "double click -> document in page", a.minimo, a.mediana, a.maximo,
                ab.mediana);
    std::printf("%-34s %8.1f %8.1f %8.1f   %.2f\n", "Ctrl+PageDown -> next document", v.minimo, v.mediana, v.maximo,
                vb.mediana);
    std::printf("%-34s %8.1f %8.1f %8.1f   %.2f\n", "Autorizar -> list reloaded", z.minimo, z.mediana, z.maximo,
                zb.mediana);
    std::printf("%-34s %8.1f %8.1f %8.1f\n", "page read, values and rules", l.minimo, l.mediana, l.maximo);
    std::printf("warm opens: %zu, moves: %zu, authorizations: %zu, failed: %d\n", aperturas.size(), avances.size(),
                autorizaciones.size(), fallas);
    std::printf(
        "target: warm open median 45 ms or less: %s; Ctrl+PageDown median 40 ms or less: %s (%.1f x the open)\n",
        a.mediana <= 45.0 ? "met" : "NOT met", v.mediana <= 40.0 ? "met" : "NOT met", v.mediana / a.mediana);

    rm640::frmAutorizacion::Unload();
    delete &forma;
    rm640::Publico::Terminar();
    orvinda::TablaClases::RetirarTodas();
    return fallas == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
