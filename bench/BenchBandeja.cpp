// Time to fill the inbox: 12 active configurations whose listing queries
// return 5,000 rows each, against the time the database itself needs to run
// the same queries and read every row. On SQLite, and on a PostgreSQL server
// reached through ODBC when one can be started here.

#include "basedatos/EsquemaBaseDatos.h"
#include "host/controles/ListView.h"
#include "host/datos/Conexion.h"
#include "host/servicios/TablaClases.h"
#include "inbox/frmRM640.h"
#include "servicios/Mensajero.h"
#include "servicios/SistemaOrvinda.h"
#include "servicios/UtileriasOrvinda.h"
#include "shell/Publico.h"
#ifdef RM640_CON_SERVIDOR
#include "comun/ServidorPostgres.h"
#endif

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Configuraciones = 12;
constexpr int Filas = 5000;

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

bool Llenar(QSqlDatabase& db)
{
    orvinda::EsquemaBaseDatos::Crear(db);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("CREATE TABLE Pendientes (Folio VARCHAR(20), Tipo INTEGER, Fecha VARCHAR(10), "
                               "Solicitante VARCHAR(60), Departamento VARCHAR(60), Total DECIMAL(18,2))")))
        return false;
    db.transaction();
    // Rows go in batches: one round trip per 500 rows on a server.
    for (int k = 0; k < Configuraciones; ++k)
        for (int lote = 0; lote < Filas; lote += 500) {
            QStringList valores;
            for (int i = lote; i < lote + 500; ++i)
                valores.append(
                    QStringLiteral("('DOC-%1-%2', %3, '2025-%4-%5', 'Solicitante número %6', 'Departamento %7', %8)")
                        .arg(k, 2, 10, QLatin1Char('0'))
                        .arg(i, 5, 10, QLatin1Char('0'))
                        .arg(k)
                        .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                        .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                        .arg(i % 97)
                        .arg(i % 13)
                        .arg(1000.0 + i * 3.17, 0, 'f', 2));
            if (!q.exec(QStringLiteral("INSERT INTO Pendientes VALUES ") + valores.join(u',')))
                return false;
        }
    for (int k = 0; k < Configuraciones; ++k)
        q.exec(QStringLiteral("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion, Ca_Etiqueta, "
                              "Ca_Sql) VALUES ('%1', 'Tipo %2', '%3')")
                   .arg(k + 1, 4, 10, QLatin1Char('0'))
                   .arg(k + 1)
                   .arg(Consulta(k)));
    return db.commit();
}

void Medir(QApplication& app, const QString& nombre, const QString& destino)
{
    auto conexion = orvinda::Conexion::Abrir(destino);
    QSqlDatabase db = conexion->BaseDatos();
    if (!Llenar(db)) {
        std::printf("%s: could not create the data\n", qPrintable(nombre));
        return;
    }

    // The database's own time: the same queries, every row read.
    QElapsedTimer t;
    t.start();
    {
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
    }
    const double msBase = t.nsecsElapsed() / 1e6;

    orvinda::Mensajero mensajero(nullptr, true);
    orvinda::Conexion* c = conexion.get();
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Sistema::IdPrograma), [&] {
        return std::make_unique<orvinda::SistemaOrvinda>(*c, mensajero, QStringLiteral("ADMIN"), 4);
    });
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Utilerias::IdPrograma), [&] {
        return std::make_unique<orvinda::UtileriasOrvinda>(*c, QStringLiteral("ADMIN"));
    });
    rm640::Publico::Main();
    const long rssAntes = MemoriaResidenteKiB();

    auto& forma = rm640::frmRM640::Instancia();
    t.restart();
    forma.Form_Load();
    forma.Form_Activate();
    const double msBandeja = t.nsecsElapsed() / 1e6;
    t.restart();
    forma.show();
    app.processEvents();
    const double msPintar = t.nsecsElapsed() / 1e6;

    int items = 0;
    for (int i = 0; i < forma.ElementosCargados(); ++i)
        items += forma.lvInsidencias(i).ListItemsCount();
    std::printf("== %s\n", qPrintable(nombre));
    std::printf("inbox: %d configurations x %d rows = %d items (%s)\n", Configuraciones, Filas, items,
                forma.Cargado() ? "filled" : "NOT FILLED");
    std::printf("database alone (same queries, every row read): %8.1f ms\n", msBase);
    std::printf("Form_Load to end of refresh:                   %8.1f ms\n", msBandeja);
    std::printf("first paint after show:                        %8.1f ms\n", msPintar);
    std::printf("aim: inbox <= 2 x database + 200 ms = %.1f ms -> %s\n", 2 * msBase + 200,
                msBandeja <= 2 * msBase + 200 ? "met" : "missed");
    std::printf("resident memory: %ld KiB before, %ld KiB after the fill\n", rssAntes, MemoriaResidenteKiB());
    delete &forma;
    rm640::Publico::Terminar();
    orvinda::TablaClases::RetirarTodas();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Medir(app, QStringLiteral("SQLite (embedded)"), dir.path() + QStringLiteral("/bench.db"));
#ifdef RM640_CON_SERVIDOR
    ServidorPostgres servidor;
    if (servidor.Activo() && servidor.CrearBaseDatos(QStringLiteral("bench")))
        Medir(app, QStringLiteral("PostgreSQL over ODBC (loopback)"), servidor.CadenaOdbc(QStringLiteral("bench")));
    else
        std::printf("== PostgreSQL over ODBC: skipped (%s)\n", qPrintable(servidor.Motivo()));
#endif
    return 0;
}
