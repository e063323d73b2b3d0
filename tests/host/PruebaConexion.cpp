#include "comun/EntornoPrueba.h"
#include "host/datos/Conexion.h"
#include "host/datos/ErrorRm.h"

#include <QFile>

using orvinda::Conexion;
using orvinda::ErrorRm;

namespace {

class PruebaConexion : public EntornoPrueba
{
protected:
    void SetUp() override
    {
        EntornoPrueba::SetUp();
        Ejecutar(QStringLiteral("CREATE TABLE T (Clave VARCHAR(10) PRIMARY KEY, Texto TEXT, Numero INTEGER)"));
    }
};

} // namespace

TEST_F(PruebaConexion, TransaccionesBitacoraYRegistrosAfectados)
{
    conexion->BeginTrans();
    conexion->Execute(QStringLiteral("INSERT INTO T VALUES ('A', 'uno', 1)"));
    conexion->CommitTrans();
    conexion->BeginTrans();
    conexion->Execute(QStringLiteral("INSERT INTO T VALUES ('B', 'dos', 2)"));
    conexion->RollbackTrans();
    EXPECT_EQ(conexion->Bitacora(),
              (QStringList{QStringLiteral("BeginTrans"), QStringLiteral("INSERT INTO T VALUES ('A', 'uno', 1)"), QStringLiteral("CommitTrans"),
                           QStringLiteral("BeginTrans"), QStringLiteral("INSERT INTO T VALUES ('B', 'dos', 2)"), QStringLiteral("RollbackTrans")}));

    // A failed statement inside a transaction leaves it open for the rollback.
    conexion->BeginTrans();
    conexion->Execute(QStringLiteral("INSERT INTO T VALUES ('C', 'tres', 3)"));
    EXPECT_THROW(conexion->Execute(QStringLiteral("INSERT INTO T VALUES ('A', 'otra', 9)")), ErrorRm);
    EXPECT_TRUE(conexion->EnTransaccion());
    conexion->RollbackTrans();
    EXPECT_EQ(Contenido(QStringLiteral("T"), QStringLiteral("Clave")), QStringList{QStringLiteral("A|uno|1")});

    // A statement that changes nothing says so: a document someone else
    // already processed.
    conexion->Execute(QStringLiteral("UPDATE T SET Numero = 5 WHERE Clave = 'Z'"));
    EXPECT_EQ(conexion->RegistrosAfectados(), 0);
    conexion->Execute(QStringLiteral("UPDATE T SET Numero = 5"));
    EXPECT_EQ(conexion->RegistrosAfectados(), 1);

    EXPECT_EQ(DescripcionDe([&] { conexion->CommitTrans(); }), QStringLiteral("No hay ninguna transacción activa."));
    conexion->BeginTrans();
    EXPECT_EQ(DescripcionDe([&] { conexion->BeginTrans(); }), QStringLiteral("La conexión ya tiene una transacción abierta."));
    conexion->RollbackTrans();
}

TEST_F(PruebaConexion, NuloDistintoDeTextoVacioYSoloFallaAlLeerloComoTexto)
{
    Ejecutar(QStringLiteral("INSERT INTO T VALUES ('N', NULL, NULL)"));
    Ejecutar(QStringLiteral("INSERT INTO T VALUES ('V', '', 0)"));

    orvinda::Recordset rs = conexion->Execute(QStringLiteral("SELECT Clave, Texto FROM T ORDER BY Clave"));
    ASSERT_FALSE(rs.Eof());
    EXPECT_TRUE(rs.Fields(QStringLiteral("Texto")).EsNulo());
    const QString error = DescripcionDe([&] { rs.Fields(QStringLiteral("texto")).Texto(); });
    EXPECT_EQ(error, QStringLiteral("Uso no válido de Null"));
    rs.MoveNext();
    EXPECT_FALSE(rs.Fields(QStringLiteral("Texto")).EsNulo());
    EXPECT_EQ(rs.Fields(QStringLiteral("Texto")).Texto(), QString());
    rs.MoveNext();
    EXPECT_THROW(rs.Fields(0).Value(), ErrorRm); // past the end
}

TEST_F(PruebaConexion, UnaConsultaSinFilasDaSusNombresDeColumna)
{
    orvinda::Recordset rs = conexion->Execute(QStringLiteral("SELECT Clave AS FOLIO, Texto AS Comentario_Documento FROM T WHERE 1 = 0"));
    EXPECT_TRUE(rs.Eof());
    ASSERT_EQ(rs.FieldsCount(), 2);
    EXPECT_EQ(rs.Fields(0).Name(), QStringLiteral("FOLIO"));
    EXPECT_EQ(rs.Fields(1).Name(), QStringLiteral("Comentario_Documento"));
    EXPECT_EQ(DescripcionDe([&] { rs.Fields(QStringLiteral("NoExiste")); }),
              QStringLiteral("No se encontró el elemento 'NoExiste' en la colección que corresponde al nombre o al ordinal solicitado."));
}

TEST_F(PruebaConexion, QuotedIdentifierOffGuardaElTextoEntreComillasDoblesTalCual)
{
    const QString sql = QStringLiteral("SELECT Folio FROM Requisiciones where Es_Cve_Estado <> 'BA' and Nota = 'l''avión'");
    conexion->Execute(QStringLiteral("SET QUOTED_IDENTIFIER OFF"));
    conexion->Execute(QStringLiteral("INSERT INTO T (Clave, Texto) VALUES ('Q', \"") + sql + QStringLiteral("\")"));
    // A double quote inside the literal is written twice.
    conexion->Execute(QStringLiteral("INSERT INTO T (Clave, Texto) VALUES ('D', \"dijo \"\"sí\"\" y 'no'\")"));
    conexion->Execute(QStringLiteral("SET QUOTED_IDENTIFIER ON"));
    EXPECT_EQ(Valor(QStringLiteral("SELECT Texto FROM T WHERE Clave = 'Q'")), sql);
    EXPECT_EQ(Valor(QStringLiteral("SELECT Texto FROM T WHERE Clave = 'D'")), QStringLiteral("dijo \"sí\" y 'no'"));

    // With the setting back ON, double quotes name columns again.
    orvinda::Recordset rs = conexion->Execute(QStringLiteral("SELECT \"Texto\" FROM T WHERE Clave = 'Q'"));
    EXPECT_EQ(rs.Fields(0).Texto(), sql);

    EXPECT_EQ(Conexion::ComillasDoblesALiterales(QStringLiteral("VALUES ('a\"b', \"c'd\", [e\"f])")), QStringLiteral("VALUES ('a\"b', 'c''d', [e\"f])"));
}

TEST_F(PruebaConexion, LosErroresLlevanElTextoDelControlador)
{
    Ejecutar(QStringLiteral("INSERT INTO T VALUES ('A', 'uno', 1)"));
    EXPECT_EQ(DescripcionDe([&] { conexion->Execute(QStringLiteral("INSERT INTO T VALUES ('A', 'uno', 1)")); }),
              QStringLiteral("UNIQUE constraint failed: T.Clave"));
}

TEST_F(PruebaConexion, AbrirFallaConUnMensajeClaroYSinCrearNada)
{
    const QString sinCarpeta = carpeta.path() + QStringLiteral("/no/existe/base.db");
    EXPECT_EQ(DescripcionDe([&] { Conexion::Abrir(sinCarpeta); }),
              QStringLiteral("No se puede abrir la base de datos %1: la carpeta %2 no existe.").arg(sinCarpeta, carpeta.path() + QStringLiteral("/no/existe")));
    EXPECT_FALSE(QFile::exists(sinCarpeta));

    const QString basura = carpeta.path() + QStringLiteral("/basura.db");
    QFile f(basura);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    EXPECT_TRUE(DescripcionDe([&] { Conexion::Abrir(basura); }).startsWith(QStringLiteral("No se puede abrir la base de datos ") + basura));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(4096, 'x'));
}

TEST_F(PruebaConexion, UnPasoQueFallaOLaBasePerdidaNoDejanNadaEscrito)
{
    Ejecutar(QStringLiteral("INSERT INTO T VALUES ('A', 'uno', 1)"));
    const QStringList antes = Contenido(QStringLiteral("T"), QStringLiteral("Clave"));

    // The commit refused: the transaction stays open for the caller's rollback.
    conexion->AntesDeCadaPaso([](const QString& paso) {
        if (paso == QLatin1String("CommitTrans"))
            throw orvinda::ErrorRm(QStringLiteral("servidor fuera de línea"));
    });
    conexion->BeginTrans();
    conexion->Execute(QStringLiteral("UPDATE T SET Texto = 'cambiado'"));
    EXPECT_EQ(DescripcionDe([&] { conexion->CommitTrans(); }), QStringLiteral("servidor fuera de línea"));
    conexion->RollbackTrans();
    conexion->AntesDeCadaPaso(nullptr);
    EXPECT_EQ(Contenido(QStringLiteral("T"), QStringLiteral("Clave")), antes);

    // The database goes away in the middle of a transaction.
    conexion->BeginTrans();
    conexion->Execute(QStringLiteral("DELETE FROM T"));
    conexion->Perder();
    EXPECT_EQ(DescripcionDe([&] { conexion->Execute(QStringLiteral("INSERT INTO T VALUES ('B', 'dos', 2)")); }),
              QStringLiteral("La conexión con la base de datos está cerrada."));
    EXPECT_NO_THROW(conexion->RollbackTrans());
    // Between transactions the session is opened again.
    EXPECT_EQ(conexion->Execute(QStringLiteral("SELECT COUNT(*) FROM T")).Fields(0).Texto(), QStringLiteral("1"));
    EXPECT_EQ(Contenido(QStringLiteral("T"), QStringLiteral("Clave")), antes);
}
