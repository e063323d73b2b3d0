#include "servidor/EntornoServidor.h"

#include "host/controles/ListView.h"
#include "inbox/frmRM640.h"
#include "inbox/frmValoresLote.h"
#include "review/frmAutorizacion.h"
#include "servicios/LimitesEspera.h"
#include "shell/CreacionDemo.h"

#include <QSqlQuery>
#include <QTest>

namespace {

class PruebaRobustezServidor : public EntornoServidor
{
protected:
    // Authorizes the document in the review dialog; returns the message shown, if any, and the state it left.
    QString Autorizar(rm640::frmAutorizacion& d)
    {
        g.mensajes.clear();
        d.CmdAutorizado_Click();
        const QString mensaje = g.mensajes.isEmpty() ? QString() : g.mensajes[0].idError + u'|' + g.mensajes[0].mensaje;
        return mensaje + " => " + Estado();
    }

    // Read through the shell's connection, which survives the restarts.
    QString Estado()
    {
        return conexion->Execute(QStringLiteral("SELECT Rq_Estado FROM Requisiciones_Compra WHERE Rq_Folio = '%1'").arg(folio)).Fields(0).Texto();
    }
};

} // namespace

TEST_F(PruebaRobustezServidor, ElServidorSeReiniciaYLaSesionSeRecupera)
{
    // Outside a transaction the statement runs again on a new session.
    ASSERT_TRUE(servidor->Reiniciar());
    EXPECT_EQ(Estado(), "PE");

    // Idle between commands: the authorization finds a new session.
    rm640::frmAutorizacion& d = MostrarRequisicionDemo(folio);
    ASSERT_TRUE(servidor->Reiniciar());
    EXPECT_EQ(Autorizar(d), " => AU");

    // Lost in the middle of one: rolled back, said so, and the next command works.
    conexion->Execute(QStringLiteral("UPDATE Requisiciones_Compra SET Rq_Estado = 'PE' WHERE Rq_Folio = '%1'").arg(folio));
    conexion->AntesDeCadaPaso([&](const QString& paso) {
        if (paso.contains(QLatin1String("UPDATE")))
            servidor->Reiniciar();
    });
    const QString mensaje = Autorizar(d);
    conexion->AntesDeCadaPaso(nullptr);
    EXPECT_TRUE(mensaje.startsWith("ERR-ID:7500028|Se perdió la conexión con el servidor de base de datos")) << mensaje.toStdString();
    EXPECT_TRUE(!conexion->EnTransaccion() && Estado() == "PE");
    EXPECT_EQ(Autorizar(d), " => AU");
}

// A bulk run across a real restart of the server: the document whose
// session it cut waits and is tried again, every one is authorized, and the
// summary says so after the list is read again.
TEST_F(PruebaRobustezServidor, ElLoteEsperaAlServidorQueSeReinicia)
{
    QStringList folios;
    for (QSqlQuery q("SELECT Rq_Folio FROM Requisiciones_Compra WHERE Rq_Estado = 'PE' ORDER BY 1", conexion->BaseDatos()); q.next() && folios.size() < 4;)
        folios << q.value(0).toString();
    rm640::frmRM640& bandeja = rm640::frmRM640::Instancia();
    bandeja.show();
    Activar(bandeja);
    orvinda::ListView& lista = bandeja.lvInsidencias(0);
    ASSERT_EQ(EsperarLista(lista), "");
    ASSERT_TRUE(lista.Restaurar({folios, folios[0]}, true));
    int cambios = 0;
    conexion->AntesDeCadaPaso([&](const QString& paso) {
        if (paso.startsWith(QLatin1String("UPDATE Requisiciones_Compra")) && cambios++ == 1)
            servidor->Reiniciar();
    });
    g.mensajes.clear();
    bandeja.AutorizarSeleccionados();
    auto* forma = bandeja.findChild<rm640::frmValoresLote*>();
    ASSERT_TRUE(forma);
    forma->accept();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !g.mensajes.isEmpty(); }, 120000));
    conexion->AntesDeCadaPaso(nullptr);
    EXPECT_EQ(g.Avisos(), QStringList{"ERR-ID:7500070|64|Autorizar seleccionados|frmRM640|Autorizados: 4 de 4."});
    EXPECT_EQ(cambios, 5);
    EXPECT_EQ(Valor("SELECT COUNT(*) FROM Requisiciones_Compra WHERE Rq_Estado = 'AU' AND Rq_Folio IN ('" + folios.join("', '") + "')"), "4");
}

TEST_F(PruebaRobustezServidor, OtraSesionRetieneElDocumentoYLaEsperaTieneLimite)
{
    Ejecutar("INSERT INTO Parametros_Generales (Pg_Cve_Parametro, Pg_Valor) VALUES ('BD_ESPERA_BLOQUEO', '1'), ('BD_LIMITE_SENTENCIA', '2')");
    orvinda::LimitesEspera::Aplicar(*conexion);
    EXPECT_NE(DescripcionDe([&] { conexion->Execute("SELECT pg_sleep(5)"); }).indexOf(QLatin1String("statement timeout")), -1);

    rm640::frmAutorizacion& d = MostrarRequisicionDemo(folio);
    {
        QSqlDatabase otra = QSqlDatabase::addDatabase("QODBC", "otra_sesion");
        otra.setDatabaseName(cadena);
        ASSERT_TRUE(otra.open() && otra.transaction());
        ASSERT_TRUE(QSqlQuery(otra).exec(QStringLiteral("UPDATE Requisiciones_Compra SET Rq_Estado = Rq_Estado WHERE Rq_Folio = '%1'").arg(folio)));
        const QString mensaje = Autorizar(d);
        EXPECT_TRUE(mensaje.startsWith("ERR-ID:7500028|Otro usuario tiene ocupado el documento o la tabla")) << mensaje.toStdString();
        EXPECT_TRUE(!conexion->EnTransaccion() && Estado() == "PE");
        otra.rollback();
    }
    QSqlDatabase::removeDatabase("otra_sesion");
    EXPECT_EQ(Autorizar(d), " => AU");
}

TEST_F(PruebaRobustezServidor, CrearDemoRechazaUnaBaseConTablasYSiFallaNoDejaNingunaYLaDeSoloLecturaSeDice)
{
    EXPECT_NE(DescripcionDe([&] { orvinda::CreacionDemo::Crear(cadena); }).indexOf(QLatin1String("ya tiene tablas")), -1);
    ASSERT_TRUE(servidor->CrearBaseDatos("demo_fallida"));
    const QString otra = servidor->CadenaOdbc("demo_fallida");
    const auto c = orvinda::Conexion::Abrir(otra);
    // Fails half-way: the view stands where a table should be filled.
    c->Execute("CREATE VIEW Empleados AS SELECT 1 AS x");
    EXPECT_NE(DescripcionDe([&] { orvinda::CreacionDemo::Crear(otra); }), "<sin error>");
    EXPECT_EQ(c->BaseDatos().tables(QSql::Tables), QStringList());

    // A read-only server database is told at start; a write is not even sent.
    c->Execute("ALTER DATABASE demo_fallida SET default_transaction_read_only = on");
    const auto lectura = orvinda::Conexion::Abrir(otra);
    EXPECT_TRUE(lectura->ComprobarSoloLectura());
    EXPECT_EQ(DescripcionDe([&] { lectura->Execute("DROP VIEW Empleados"); }), "No se intentó escribir: la base de datos es de solo lectura.");
}
