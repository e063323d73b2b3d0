// Time to fill the inbox: 12 active configurations whose listing queries
// return 5,000 rows each, against the time the database itself needs to run
// the same queries and read every row. On SQLite, and on a PostgreSQL server
// reached through ODBC when one can be started here. Also the time of one
// keystroke in the filter box, which narrows every tab at once. The refresh
// includes the ages (the server's date read after the listings).
//
// --millon: one configuration listing 1,000,000 rows instead (SQLite): the
// fill against the sqlite3 command-line tool reading and printing the same
// rows in the same run, the resident memory against the text of those rows,
// and the sort of each column.

#include "basedatos/EsquemaBaseDatos.h"
#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/datos/Conexion.h"
#include "host/servicios/TablaClases.h"
#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "servicios/Mensajero.h"
#include "servicios/SistemaOrvinda.h"
#include "servicios/UtileriasOrvinda.h"
#ifdef RM640_CON_SERVIDOR
#include "comun/ServidorPostgres.h"
#endif

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int Configuraciones = 12;
int Filas = 5000;
constexpr int Repeticiones = 7;

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long MemoriaResidenteKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith("VmRSS:"))
            return l.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

QString Consulta(int k)
{
    return QStringLiteral(
               "SELECT Folio, Fecha, Solicitante, Departamento, Total FROM Pendientes WHERE Tipo = %1 ORDER BY Folio")
        .arg(k);
}

bool Llenar(QSqlDatabase& db, bool sqlite)
{
    orvinda::EsquemaBaseDatos::Crear(db);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("CREATE TABLE Pendientes (Folio VARCHAR(20), Tipo INTEGER, Fecha VARCHAR(10), "
                               "Solicitante VARCHAR(60), Departamento VARCHAR(60), Total DECIMAL(18,2))")))
        return false;
    db.transaction();
    for (int k = 0; k < Configuraciones; ++k) {
        if (sqlite) {
            // Generated inside the engine: a million rows never pass through
            // this process. (Not through QString::arg: printf's "%02d" would
            // read as its place marker 2.)
            if (!q.exec(QStringLiteral(
                            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < {FILAS}) "
                            "INSERT INTO Pendientes SELECT printf('DOC-%02d-%07d', {K}, i), {K}, "
                            "printf('2025-%02d-%02d', 1 + i % 12, 1 + i % 28), 'Solicitante número ' || (i % 97), "
                            "'Departamento ' || (i % 13), round(1000.0 + i * 3.17, 2) FROM n")
                            .replace(QStringLiteral("{FILAS}"), QString::number(Filas))
                            .replace(QStringLiteral("{K}"), QString::number(k))))
                return false;
            continue;
        }
        // Rows go in batches: one round trip per 500 rows on a server.
        for (int lote = 0; lote < Filas; lote += 500) {
            QStringList valores;
            for (int i = lote; i < lote + 500; ++i)
                valores.append(
                    QStringLiteral("('DOC-%1-%2', %3, '2025-%4-%5', 'Solicitante número %6', 'Departamento %7', %8)")
                        .arg(k, 2, 10, QLatin1Char('0'))
                        .arg(i, 7, 10, QLatin1Char('0'))
                        .arg(k)
                        .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                        .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                        .arg(i % 97)
                        .arg(i % 13)
                        .arg(1000.0 + i * 3.17, 0, 'f', 2));
            if (!q.exec(QStringLiteral("INSERT INTO Pendientes VALUES ") + valores.join(u',')))
                return false;
        }
    }
    for (int k = 0; k < Configuraciones; ++k)
        q.exec(QStringLiteral("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion, Ca_Etiqueta, "
                              "Ca_Sql) VALUES ('%1', 'Tipo %2', '%3')")
                   .arg(k + 1, 4, 10, QLatin1Char('0'))
                   .arg(k + 1)
                   .arg(Consulta(k)));
    return db.commit();
}

// The database's own time: the same queries, every value of every row read.
double LecturaBase(QSqlDatabase& db)
{
    QElapsedTimer t;
    t.start();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.exec(QStringLiteral(" SELECT  Ca_Cve_Configuracion_Autorizacion as ID,  Ca_Etiqueta ,  Ca_Sql   FROM "
                          "Configuracion_Autorizacion  where  Es_Cve_Estado <> 'BA' "));
    while (q.next()) {
    }
    for (int k = 0; k < Configuraciones; ++k) {
        q.exec(Consulta(k));
        while (q.next())
            for (int c = 0; c < 5; ++c)
                (void)q.value(c);
    }
    return t.nsecsElapsed() / 1e6;
}

// The sqlite3 command-line tool reading the same rows and printing them
// (to nowhere): what the engine itself takes, outside this process. -1 when
// the tool is not installed.
double LecturaSqlite3(const QString& archivo)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), archivo, Consulta(0)});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return -1;
    return t.nsecsElapsed() / 1e6;
}

// Sorting a list by each of its columns, one after another.
void MedirOrden(orvinda::ListView& lista)
{
    double peor = 0;
    for (int c = 0; c < lista.ColumnHeadersCount(); ++c) {
        QElapsedTimer t;
        t.start();
        lista.OrdenarPor(c, Qt::DescendingOrder);
        const double ms = t.nsecsElapsed() / 1e6;
        std::printf("sort by %s: %.0f ms\n", qPrintable(lista.ColumnHeaderText(c)), ms);
        peor = std::max(peor, ms);
    }
    std::printf("aim: any column sorted in 1 s or less -> %s\n", peor <= 1000 ? "met" : "missed");
}

// Each keystroke of a search typed into the filter box, the repaint included.
void MedirFiltro(QApplication& app, rm640::frmRM640& forma)
{
    const QString busqueda = QStringLiteral("solicitante número 42");
    std::vector<double> ms;
    QElapsedTimer t;
    for (int ronda = 0; ronda < 3; ++ronda) {
        forma.txtFiltro().clear();
        app.processEvents();
        for (int i = 1; i <= busqueda.size(); ++i) {
            t.restart();
            forma.txtFiltro().setText(busqueda.left(i));
            forma.repaint();
            app.processEvents();
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    const double peor = *std::max_element(ms.begin(), ms.end());
    int filas = 0;
    for (int i = 0; i < forma.ElementosCargados(); ++i)
        filas += forma.lvInsidencias(i).ListItemsTotal();
    std::printf("filter keystroke, every tab narrowed at once (%d tabs, %d rows): median %.2f ms, worst %.2f ms "
                "(the search text is folded while the inbox waits for the first key); aim <= 30 ms -> %s; "
                "shown now %s\n",
                forma.ElementosCargados(), filas, Mediana(ms), peor, peor <= 30 ? "met" : "missed",
                qPrintable(forma.CuentaPestania(0)));
    forma.txtFiltro().clear();
}

void Medir(QApplication& app, const QString& nombre, const QString& destino, bool sqlite)
{
    auto conexion = orvinda::Conexion::Abrir(destino);
    QSqlDatabase db = conexion->BaseDatos();
    if (!Llenar(db, sqlite)) {
        std::printf("%s: could not create the data\n", qPrintable(nombre));
        return;
    }

    // Runs alternate with the inbox's own, and the best of each counts: on a
    // shared machine the best run is the one least disturbed.
    std::vector<double> base;

    orvinda::Mensajero mensajero(nullptr, true);
    orvinda::Conexion* c = conexion.get();
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Sistema::IdPrograma), [&] {
        return std::make_unique<orvinda::SistemaOrvinda>(*c, mensajero, QStringLiteral("ADMIN"), 4);
    });
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Utilerias::IdPrograma), [&] {
        return std::make_unique<orvinda::UtileriasOrvinda>(*c, QStringLiteral("ADMIN"));
    });
    rm640::Publico::Main();

    // A fill longer than half a second must show its progress, and the
    // window must keep taking events meanwhile: the longest the event loop
    // went without turning is measured.
    double mayorEspera = 0;
    QElapsedTimer latido;
    QTimer sonda;
    sonda.setInterval(20);
    QObject::connect(&sonda, &QTimer::timeout, [&] {
        mayorEspera = std::max(mayorEspera, latido.nsecsElapsed() / 1e6 - 20);
        latido.restart();
    });

    std::vector<double> bandeja, cli;
    long rssVacia = 0, rssLlena = 0;
    double msPintar = 0;
    int items = 0;
    qint64 bytesTexto = 0;
    const int repeticiones = Filas > 100000 ? 3 : Repeticiones;
    for (int r = 0; r < repeticiones; ++r) {
        auto& forma = rm640::frmRM640::Instancia();
        forma.Form_Load();
        forma.resize(1200, 700);
        // The empty inbox: shown, its refresh not yet run (it is run here,
        // before the event that would run it is processed).
        forma.show();
        const bool ultima = r == repeticiones - 1;
        // Memory on the first run, before freed memory is there to reuse.
        if (r == 0)
            rssVacia = MemoriaResidenteKiB();
        base.push_back(LecturaBase(db));
        if (sqlite && Filas > 100000)
            cli.push_back(LecturaSqlite3(destino));
        QEventLoop llena;
        QObject::connect(&forma, &rm640::frmRM640::Llenada, &llena, &QEventLoop::quit);
        latido.start();
        sonda.start();
        QElapsedTimer t;
        t.start();
        forma.Form_Activate();
        if (forma.Refrescando())
            llena.exec();
        bandeja.push_back(t.nsecsElapsed() / 1e6);
        sonda.stop();
        t.restart();
        forma.repaint();
        app.processEvents();
        msPintar = t.nsecsElapsed() / 1e6;
        if (r == 0)
            rssLlena = MemoriaResidenteKiB();
        if (ultima) {
            items = 0;
            bytesTexto = 0;
            for (int i = 0; i < forma.ElementosCargados(); ++i) {
                items += forma.lvInsidencias(i).ListItemsCount();
                bytesTexto += forma.lvInsidencias(i).Modelo().BytesTexto();
            }
            std::printf("== %s\n", qPrintable(nombre));
            std::printf("inbox: %d configurations x %d rows = %d items (%s)\n", Configuraciones, Filas, items,
                        forma.Cargado() ? "filled" : "NOT FILLED");
            if (Filas <= 5000)
                MedirFiltro(app, forma);
            else
                MedirOrden(forma.lvInsidencias(0));
        }
        delete &forma;
        app.processEvents();
    }
    const double msBase = *std::min_element(base.begin(), base.end());
    const double msBandeja = *std::min_element(bandeja.begin(), bandeja.end());
    const double kibTexto = bytesTexto / 1024.0;
    std::printf("database alone (same queries, every row read): %8.1f ms (best of %d)\n", msBase, repeticiones);
    std::printf("refresh of the inbox (fill of every list):     %8.1f ms (best of %d) = %.2f x the database\n",
                msBandeja, repeticiones, msBandeja / msBase);
    std::printf("first paint after the fill:                    %8.1f ms\n", msPintar);
    std::printf("the window answered during the fill: longest pause of its event loop %.0f ms\n", mayorEspera);
    if (Filas <= 5000) {
        std::printf("aim: inbox <= 1.3 x database + 50 ms = %.1f ms -> %s\n", 1.3 * msBase + 50,
                    msBandeja <= 1.3 * msBase + 50 ? "met" : "missed");
        std::printf("resident memory: %ld KiB empty inbox, %ld KiB filled: +%.1f MB; aim <= 40 MB -> %s\n", rssVacia,
                    rssLlena, (rssLlena - rssVacia) / 1024.0, (rssLlena - rssVacia) <= 40 * 1024 ? "met" : "missed");
    } else {
        std::printf("aim: inbox <= 1.5 x database = %.1f ms -> %s\n", 1.5 * msBase,
                    msBandeja <= 1.5 * msBase ? "met" : "missed");
        if (!cli.empty() && *std::min_element(cli.begin(), cli.end()) > 0) {
            const double msCli = *std::min_element(cli.begin(), cli.end());
            std::printf("sqlite3 command-line tool, same rows read and printed: %.1f ms (best of %zu)\n", msCli,
                        cli.size());
            std::printf("aim: inbox <= 1.5 x the sqlite3 tool = %.1f ms -> %.2f x, %s\n", 1.5 * msCli,
                        msBandeja / msCli, msBandeja <= 1.5 * msCli ? "met" : "missed");
        }
        std::printf("text of the rows: %.1f MB; resident memory %.1f MB (%.1f MB before the fill) = %.2f x the text; "
                    "aim < 3 x -> %s; the fill's own: +%.1f MB = %.2f x the text (aiming at 2 x)\n",
                    kibTexto / 1024, rssLlena / 1024.0, rssVacia / 1024.0, rssLlena / kibTexto,
                    rssLlena < 3 * kibTexto ? "met" : "missed", (rssLlena - rssVacia) / 1024.0,
                    (rssLlena - rssVacia) / kibTexto);
    }
    rm640::Publico::Terminar();
    orvinda::TablaClases::RetirarTodas();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool millon = app.arguments().contains(QStringLiteral("--millon"));
    if (millon) {
        Configuraciones = 1;
        Filas = 1000000;
    }
    QTemporaryDir dir;
    Medir(app, QStringLiteral("SQLite (embedded)"), dir.path() + QStringLiteral("/bench.db"), true);
#ifdef RM640_CON_SERVIDOR
    if (millon)
        return 0;
    ServidorPostgres servidor;
    if (servidor.Activo() && servidor.CrearBaseDatos(QStringLiteral("bench")))
        Medir(app, QStringLiteral("PostgreSQL over ODBC (loopback)"), servidor.CadenaOdbc(QStringLiteral("bench")),
              false);
    else
        std::printf("== PostgreSQL over ODBC: skipped (%s)\n", qPrintable(servidor.Motivo()));
#endif
    return 0;
}
