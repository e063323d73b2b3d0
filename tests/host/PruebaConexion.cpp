#include "comun/Ayudas.h"
#include "comun/ServidorPostgres.h"
#include "host/datos/Conexion.h"
#include "host/datos/Transaccion.h"
#include "host/errores/ErrorRm.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <signal.h>

using orvinda::Conexion;
using orvinda::ErrorRm;
using orvinda::Transaccion;

namespace {

// The data layer once per engine: the embedded SQLite file, and the tests'
// own PostgreSQL server where it can start.
class PruebaConexion : public ::testing::TestWithParam<Conexion::Dialecto>
{
public:
    static void SetUpTestSuite()
    {
        servidor = new ServidorPostgres();
        if (!servidor->Activo() || !servidor->CrearBaseDatos("dsn"))
            return;
        // A data source named the way an administrator names one, known to
        // the driver manager before the process first asks it for anything.
        ini = new QTemporaryDir();
        const QString cadena = servidor->CadenaOdbc("dsn");
        QFile f(ini->filePath("odbc.ini"));
        if (f.open(QIODevice::WriteOnly))
            f.write(QStringLiteral("[rm640]\nDriver=PostgreSQL Unicode\nServername=127.0.0.1\nPort=%1\nDatabase=dsn\nUserName=rm640\n")
                        .arg(cadena.section("PORT=", 1).section(';', 0, 0))
                        .toUtf8());
        qputenv("ODBCINI", f.fileName().toLocal8Bit());
    }
    static void TearDownTestSuite()
    {
        delete servidor;
        servidor = nullptr;
        delete ini;
        ini = nullptr;
    }

protected:
    void SetUp() override
    {
        if (GetParam() == Conexion::Dialecto::PostgreSQL) {
            if (!servidor->Activo())
                GTEST_SKIP() << servidor->Motivo().toStdString();
            const QString base = QStringLiteral("conexion%1").arg(++bases);
            ASSERT_TRUE(servidor->CrearBaseDatos(base));
            destino = servidor->CadenaOdbc(base);
        } else {
            destino = carpeta.filePath("base.db");
        }
        conexion = Conexion::Abrir(destino);
        conexion->ObservarBitacora();
        Ejecutar("CREATE TABLE T (Clave VARCHAR(10) PRIMARY KEY, Texto TEXT, Numero INTEGER)");
    }

    void Ejecutar(const QString& sentencia)
    {
        QSqlQuery q(conexion->BaseDatos());
        ASSERT_TRUE(q.exec(sentencia)) << sentencia.toStdString();
    }
    QStringList Contenido() { return Instantanea(conexion->BaseDatos(), "T", "Clave"); }

    static ServidorPostgres* servidor;
    static inline QTemporaryDir* ini = nullptr;
    static inline int bases = 0;
    QTemporaryDir carpeta;
    QString destino;
    std::unique_ptr<Conexion> conexion;
};

ServidorPostgres* PruebaConexion::servidor = nullptr;

} // namespace

TEST_P(PruebaConexion, TransaccionesBitacoraYRegistrosAfectados)
{
    conexion->BeginTrans();
    conexion->Execute("INSERT INTO T VALUES ('A', 'uno', 1)");
    conexion->CommitTrans();
    conexion->BeginTrans();
    conexion->Execute("INSERT INTO T VALUES ('B', 'dos', 2)");
    conexion->RollbackTrans();
    EXPECT_EQ(conexion->Bitacora(),
              (QStringList{"BeginTrans", "INSERT INTO T VALUES ('A', 'uno', 1)", "CommitTrans", "BeginTrans", "INSERT INTO T VALUES ('B', 'dos', 2)",
                           "RollbackTrans"}));

    // A failed statement inside a transaction leaves it open for the rollback.
    conexion->BeginTrans();
    conexion->Execute("INSERT INTO T VALUES ('C', 'tres', 3)");
    EXPECT_THROW(conexion->Execute("INSERT INTO T VALUES ('A', 'otra', 9)"), ErrorRm);
    EXPECT_TRUE(conexion->EnTransaccion());
    conexion->RollbackTrans();
    EXPECT_EQ(Contenido(), QStringList{"A|uno|1"});

    // A statement that changes nothing says so: a document someone else
    // already processed.
    conexion->Execute("UPDATE T SET Numero = 5 WHERE Clave = 'Z'");
    EXPECT_EQ(conexion->RegistrosAfectados(), 0);
    conexion->Execute("UPDATE T SET Numero = 5");
    EXPECT_EQ(conexion->RegistrosAfectados(), 1);

    EXPECT_EQ(DescripcionDe([&] { conexion->CommitTrans(); }), "No hay ninguna transacción activa.");
    conexion->BeginTrans();
    EXPECT_EQ(DescripcionDe([&] { conexion->BeginTrans(); }), "La conexión ya tiene una transacción abierta.");
    conexion->RollbackTrans();
}

TEST_P(PruebaConexion, LaTransaccionSeDeshaceEnCadaSalidaSalvoAlConfirmarla)
{
    // How a write path may end, and whether it leaves its row.
    struct Caso
    {
        const char* como;
        std::function<void(Transaccion&)> fin;
        bool queda;
    };
    const QList<Caso> casos{
        {"confirmada", [](Transaccion& t) { t.Confirmar(); }, true},
        {"sale sin confirmar", [](Transaccion&) {}, false},
        {"ErrorRm", [](Transaccion&) { throw ErrorRm("falla"); }, false},
        {"std::exception", [](Transaccion&) { throw std::runtime_error("falla"); }, false},
        {"cualquier otra cosa", [](Transaccion&) { throw 7; }, false},
        {"deshecha a mano", [](Transaccion& t) { t.Deshacer(); }, false},
        {"la sentencia falla", [this](Transaccion&) { conexion->Execute("INSERT INTO NoHay VALUES (1)"); }, false},
    };
    int n = 0;
    for (const Caso& c : casos) {
        const QString clave = QString::number(++n);
        try {
            Transaccion t(*conexion);
            conexion->Execute("INSERT INTO T VALUES ('" + clave + "', 'x', 0)");
            c.fin(t);
        } catch (...) {
        }
        EXPECT_FALSE(conexion->EnTransaccion()) << c.como;
        EXPECT_EQ(Contenido().contains(clave + "|x|0"), c.queda) << c.como;
    }
    // A commit the server refuses is undone too.
    conexion->AntesDeCadaPaso([](const QString& paso) {
        if (paso == QLatin1String("CommitTrans"))
            throw ErrorRm("servidor fuera de línea");
    });
    EXPECT_EQ(DescripcionDe([&] {
                  Transaccion t(*conexion);
                  conexion->Execute("INSERT INTO T VALUES ('R', 'x', 0)");
                  t.Confirmar();
              }),
              "servidor fuera de línea");
    EXPECT_TRUE(!conexion->EnTransaccion() && conexion->Bitacora().last() == "RollbackTrans");
    EXPECT_FALSE(Contenido().join(' ').contains("R|"));
}

TEST_P(PruebaConexion, NuloDistintoDeTextoVacioYSoloFallaAlLeerloComoTexto)
{
    Ejecutar("INSERT INTO T VALUES ('N', NULL, NULL)");
    Ejecutar("INSERT INTO T VALUES ('V', '', 0)");

    orvinda::Recordset rs = conexion->Execute("SELECT Clave, Texto FROM T ORDER BY Clave");
    ASSERT_FALSE(rs.Eof());
    EXPECT_TRUE(rs.Fields("Texto").EsNulo());
    EXPECT_EQ(DescripcionDe([&] { rs.Fields("texto").Texto(); }), "Uso no válido de Null");
    rs.MoveNext();
    EXPECT_TRUE(!rs.Fields("Texto").EsNulo() && rs.Fields("Texto").Texto().isEmpty());
    rs.MoveNext();
    EXPECT_THROW(rs.Fields(0).Value(), ErrorRm); // past the end

    orvinda::Recordset vacio = conexion->Execute("SELECT Clave AS FOLIO, Texto AS Comentario_Documento FROM T WHERE 1 = 0");
    EXPECT_TRUE(vacio.Eof());
    ASSERT_EQ(vacio.FieldsCount(), 2);
    EXPECT_EQ((vacio.Fields(0).Name() + ',' + vacio.Fields(1).Name()).toUpper(), "FOLIO,COMENTARIO_DOCUMENTO");
    EXPECT_EQ(DescripcionDe([&] { vacio.Fields("NoExiste"); }),
              "No se encontró el elemento 'NoExiste' en la colección que corresponde al nombre o al ordinal solicitado.");
}

TEST_P(PruebaConexion, QuotedIdentifierOffGuardaElTextoEntreComillasDoblesTalCual)
{
    const QString sql = "SELECT Folio FROM Requisiciones where Es_Cve_Estado <> 'BA' and Nota = 'l''avión'";
    conexion->Execute("SET QUOTED_IDENTIFIER OFF");
    conexion->Execute("INSERT INTO T (Clave, Texto) VALUES ('Q', \"" + sql + "\")");
    // A double quote inside the literal is written twice.
    conexion->Execute("INSERT INTO T (Clave, Texto) VALUES ('D', \"dijo \"\"sí\"\" y 'no'\")");
    conexion->Execute("SET QUOTED_IDENTIFIER ON");
    EXPECT_EQ(conexion->Execute("SELECT Texto FROM T WHERE Clave = 'Q'").Fields(0).Texto(), sql);
    EXPECT_EQ(conexion->Execute("SELECT Texto FROM T WHERE Clave = 'D'").Fields(0).Texto(), "dijo \"sí\" y 'no'");
    EXPECT_EQ(Conexion::ComillasDoblesALiterales("VALUES ('a\"b', \"c'd\", [e\"f])"), "VALUES ('a\"b', 'c''d', [e\"f])");
}

TEST_P(PruebaConexion, LaBasePerdidaNoDejaNadaEscritoYLaSiguienteOrdenAbreOtraSesion)
{
    Ejecutar("INSERT INTO T VALUES ('A', 'uno', 1)");
    const QStringList antes = Contenido();
    conexion->BeginTrans();
    conexion->Execute("DELETE FROM T");
    conexion->Perder();
    EXPECT_EQ(DescripcionDe([&] { conexion->Execute("INSERT INTO T VALUES ('B', 'dos', 2)"); }), "La conexión con la base de datos está cerrada.");
    EXPECT_NO_THROW(conexion->RollbackTrans());
    EXPECT_EQ(conexion->Execute("SELECT COUNT(*) FROM T").Fields(0).Texto(), "1");
    EXPECT_EQ(Contenido(), antes);
}

TEST_P(PruebaConexion, LaBitacoraSoloSeGuardaMientrasAlguienLaMiraYTieneLimite)
{
    auto otra = Conexion::Abrir(destino);
    QStringList vistas;
    otra->AlRegistrar([&vistas](const QString& s) { vistas.append(s); });
    for (int i = 0; i < 3; ++i)
        otra->Execute("SELECT 1");
    EXPECT_TRUE(otra->Bitacora().isEmpty());
    EXPECT_EQ(vistas.size(), 3);
    otra->ObservarBitacora(2);
    for (int i = 0; i < 5; ++i)
        otra->Execute(QStringLiteral("SELECT %1").arg(i));
    EXPECT_EQ(otra->Bitacora(), (QStringList{"SELECT 3", "SELECT 4"}));
}

TEST_P(PruebaConexion, ElIndicadorDeOcupadoAcompanaCadaSentencia)
{
    QList<bool> avisos;
    Conexion::InstalarIndicadorOcupado([&avisos](bool ocupado) { avisos.append(ocupado); });
    conexion->Execute("SELECT 1");
    EXPECT_THROW(conexion->Execute("SELECT * FROM NoHay"), ErrorRm);
    Conexion::InstalarIndicadorOcupado({});
    EXPECT_EQ(avisos, (QList<bool>{true, false, true, false}));
}

TEST_P(PruebaConexion, ElControladorNombraLaBaseAunqueLaCadenaSoloDigaDsn)
{
    EXPECT_EQ(conexion->ObtenerDialecto(), GetParam());
    if (GetParam() != Conexion::Dialecto::PostgreSQL)
        return;
    // A data source name says nothing of the engine: the driver does.
    auto dsn = Conexion::Abrir("DSN=rm640");
    EXPECT_EQ(dsn->ObtenerDialecto(), Conexion::Dialecto::PostgreSQL);
    // And it gets the engine's limits.
    EXPECT_EQ(dsn->Execute("SHOW lock_timeout").Fields(0).Texto(), "15s");
    EXPECT_EQ(dsn->Execute("SHOW statement_timeout").Fields(0).Texto(), "2min");
}

TEST_P(PruebaConexion, UnaSentenciaSinFinSeCancelaPasadoElLimite)
{
    // On a server its own limit fires first; the embedded engine has none,
    // and the watchdog interrupts it.
    conexion->FijarLimites(15, 1);
    QElapsedTimer reloj;
    reloj.start();
    const QString error = DescripcionDe([&] {
        conexion->Execute("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT COUNT(*) FROM c");
    });
    EXPECT_LT(reloj.elapsed(), 1000 * (1 + 2 + 2));
    if (GetParam() == Conexion::Dialecto::SQLite)
        EXPECT_EQ(error, "La sentencia pasó de 1 segundos, el límite de la base de datos (BD_LIMITE_SENTENCIA), y se "
                         "canceló; no se aplicó ningún cambio.");
    else
        EXPECT_TRUE(error.contains("statement timeout")) << error.toStdString();
    EXPECT_EQ(conexion->Execute("SELECT COUNT(*) FROM T").Fields(0).Texto(), "0");
}

TEST_P(PruebaConexion, UnServidorDetenidoSeAbandonaSinDarPorHechoLoQueNoSeSabe)
{
    if (GetParam() != Conexion::Dialecto::PostgreSQL)
        GTEST_SKIP() << "sin servidor que detener";
    // The backend stops (SIGSTOP) with the statement on its way: no limit of
    // the server's can fire, and the client library would wait for ever.
    struct Caso
    {
        const char* paso;
        std::function<void()> antes, ultimo;
        QString explicacion;
    };
    const QString causa = "El servidor de base de datos no responde; se abandonó la sesión y la siguiente operación abre "
                          "una nueva.\r\n";
    const QList<Caso> casos{
        {"una escritura en la transacción", [&] { conexion->BeginTrans(); },
         [&] { conexion->Execute("INSERT INTO T VALUES ('E', 'x', 1)"); },
         causa + "La operación no terminó en 5 segundos; no se aplicó ningún cambio."},
        {"la confirmación",
         [&] {
             conexion->BeginTrans();
             conexion->Execute("INSERT INTO T VALUES ('C', 'x', 1)");
         },
         [&] { conexion->CommitTrans(); },
         causa + "No se sabe si el servidor llegó a aplicar el cambio: compruébelo antes de repetir la operación."},
    };
    conexion->FijarLimites(15, 1);
    for (const Caso& c : casos) {
        const int backend = conexion->Execute("SELECT pg_backend_pid()").Fields(0).Value().toInt();
        c.antes();
        ASSERT_EQ(kill(backend, SIGSTOP), 0);
        QElapsedTimer reloj;
        reloj.start();
        QString explicacion;
        try {
            c.ultimo();
        } catch (const ErrorRm& e) {
            explicacion = e.Explicada("pista");
        }
        const qint64 tardo = reloj.elapsed();
        kill(backend, SIGCONT);
        EXPECT_EQ(explicacion, c.explicacion) << c.paso;
        EXPECT_LT(tardo, 1000 * (1 + 5 + 1)) << c.paso;
        EXPECT_NO_THROW(conexion->RollbackTrans()) << c.paso;
        // The next command opens a new session.
        EXPECT_NE(conexion->Execute("SELECT pg_backend_pid()").Fields(0).Value().toInt(), backend) << c.paso;
    }
}

TEST_P(PruebaConexion, LosValoresLleganComoLosTipaQtYElTextoTalCual)
{
    const QString consulta = "SELECT 1::int2 a, 2::int4 b, 3::int8 c, 4.5::numeric(10,2) d, 6.25::float4 e, 7.125::float8 f, "
                             "'abc'::text g, 'y'::char(3) h, DATE '2026-12-07' i, TIME '10:11:12' j, "
                             "TIMESTAMP '2026-12-07 10:11:12.345' k, '\\x0102'::bytea l, NULL::int4 m, NULL::text n, "
                             "(1::numeric / 3) o, 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'::uuid p, true q";
    if (GetParam() != Conexion::Dialecto::PostgreSQL)
        GTEST_SKIP() << "el motor embebido se lee con el controlador de Qt";
    QSqlQuery q(conexion->BaseDatos());
    ASSERT_TRUE(q.exec(consulta) && q.next());
    orvinda::Recordset rs = conexion->Execute(consulta);
    ASSERT_EQ(rs.FieldsCount(), q.record().count());
    for (int i = 0; i < rs.FieldsCount(); ++i) {
        const QVariant qt = q.value(i), nuestro = rs.Fields(i).Value();
        EXPECT_EQ(nuestro.isNull(), qt.isNull()) << i;
        if (!qt.isNull())
            EXPECT_EQ(std::make_pair(nuestro.typeId(), nuestro), std::make_pair(qt.typeId(), qt)) << i;
    }
    // Where Qt's driver drops a leading byte order mark, the text arrives whole.
    const QString marcado = QString(QChar(0xFEFF)) + "F-1";
    conexion->Execute("INSERT INTO T (Clave) VALUES ('" + marcado + "')");
    EXPECT_EQ(conexion->Execute("SELECT Clave FROM T").Fields(0).Texto(), marcado);
}

INSTANTIATE_TEST_SUITE_P(Motores, PruebaConexion, ::testing::Values(Conexion::Dialecto::SQLite, Conexion::Dialecto::PostgreSQL),
                         [](const auto& info) { return info.param == Conexion::Dialecto::SQLite ? "SQLite" : "PostgreSQL"; });

TEST(PruebaAbrir, FallaConUnMensajeClaroYSinCrearNada)
{
    QTemporaryDir carpeta;
    const QString sinCarpeta = carpeta.path() + "/no/existe/base.db";
    EXPECT_EQ(DescripcionDe([&] { Conexion::Abrir(sinCarpeta); }),
              QStringLiteral("No se puede abrir la base de datos %1: la carpeta %2 no existe.").arg(sinCarpeta, carpeta.path() + "/no/existe"));
    EXPECT_FALSE(QFile::exists(sinCarpeta));

    const QString basura = carpeta.path() + "/basura.db";
    QFile f(basura);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    EXPECT_TRUE(DescripcionDe([&] { Conexion::Abrir(basura); }).startsWith("No se puede abrir la base de datos " + basura));
    EXPECT_EQ(LeerArchivo(basura), QString(4096, u'x'));
}
