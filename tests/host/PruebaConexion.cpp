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
        Ejecutar("CREATE TABLE T (Clave VARCHAR(10) PRIMARY KEY, Texto TEXT, Numero INTEGER)");
    }
};

} // namespace

TEST_F(PruebaConexion, TransaccionesBitacoraYRegistrosAfectados)
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
    EXPECT_EQ(DescripcionDe([&] { conexion->Execute("INSERT INTO T VALUES ('A', 'otra', 9)"); }), "UNIQUE constraint failed: T.Clave");
    EXPECT_TRUE(conexion->EnTransaccion());
    conexion->RollbackTrans();
    EXPECT_EQ(Contenido("T", "Clave"), QStringList{"A|uno|1"});

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

TEST_F(PruebaConexion, NuloDistintoDeTextoVacioYSoloFallaAlLeerloComoTexto)
{
    Ejecutar("INSERT INTO T VALUES ('N', NULL, NULL), ('V', '', 0)");

    orvinda::Recordset rs = conexion->Execute("SELECT Clave, Texto FROM T ORDER BY Clave");
    ASSERT_FALSE(rs.Eof());
    EXPECT_TRUE(rs.Fields("Texto").EsNulo());
    EXPECT_EQ(DescripcionDe([&] { rs.Fields("texto").Texto(); }), "Uso no válido de Null");
    rs.MoveNext();
    EXPECT_TRUE(!rs.Fields("Texto").EsNulo() && rs.Fields("Texto").Texto().isEmpty());
    rs.MoveNext();
    EXPECT_THROW(rs.Fields(0).Value(), ErrorRm); // past the end
}

TEST_F(PruebaConexion, UnaConsultaSinFilasDaSusNombresDeColumna)
{
    orvinda::Recordset rs = conexion->Execute("SELECT Clave AS FOLIO, Texto AS Comentario_Documento FROM T WHERE 1 = 0");
    EXPECT_TRUE(rs.Eof());
    ASSERT_EQ(rs.FieldsCount(), 2);
    EXPECT_EQ(rs.Fields(0).Name() + ',' + rs.Fields(1).Name(), "FOLIO,Comentario_Documento");
    EXPECT_EQ(DescripcionDe([&] { rs.Fields("NoExiste"); }),
              "No se encontró el elemento 'NoExiste' en la colección que corresponde al nombre o al ordinal solicitado.");
}

TEST_F(PruebaConexion, QuotedIdentifierOffGuardaElTextoEntreComillasDoblesTalCual)
{
    const QString sql = "SELECT Folio FROM Requisiciones where Es_Cve_Estado <> 'BA' and Nota = 'l''avión'";
    conexion->Execute("SET QUOTED_IDENTIFIER OFF");
    conexion->Execute("INSERT INTO T (Clave, Texto) VALUES ('Q', \"" + sql + "\")");
    // A double quote inside the literal is written twice.
    conexion->Execute("INSERT INTO T (Clave, Texto) VALUES ('D', \"dijo \"\"sí\"\" y 'no'\")");
    conexion->Execute("SET QUOTED_IDENTIFIER ON");
    EXPECT_EQ(Valor("SELECT Texto FROM T WHERE Clave = 'Q'"), sql);
    EXPECT_EQ(Valor("SELECT Texto FROM T WHERE Clave = 'D'"), "dijo \"sí\" y 'no'");

    // With the setting back ON, double quotes name columns again.
    EXPECT_EQ(conexion->Execute("SELECT \"Texto\" FROM T WHERE Clave = 'Q'").Fields(0).Texto(), sql);

    EXPECT_EQ(Conexion::ComillasDoblesALiterales("VALUES ('a\"b', \"c'd\", [e\"f])"), "VALUES ('a\"b', 'c''d', [e\"f])");
}

TEST_F(PruebaConexion, AbrirFallaConUnMensajeClaroYSinCrearNada)
{
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

TEST_F(PruebaConexion, UnPasoQueFallaOLaBasePerdidaNoDejanNadaEscrito)
{
    Ejecutar("INSERT INTO T VALUES ('A', 'uno', 1)");
    const QStringList antes = Contenido("T", "Clave");

    // The commit refused: the transaction stays open for the caller's rollback.
    conexion->AntesDeCadaPaso([](const QString& paso) {
        if (paso == QLatin1String("CommitTrans"))
            throw orvinda::ErrorRm("servidor fuera de línea");
    });
    conexion->BeginTrans();
    conexion->Execute("UPDATE T SET Texto = 'cambiado'");
    EXPECT_EQ(DescripcionDe([&] { conexion->CommitTrans(); }), "servidor fuera de línea");
    conexion->RollbackTrans();
    conexion->AntesDeCadaPaso(nullptr);
    EXPECT_EQ(Contenido("T", "Clave"), antes);

    // The database goes away in the middle of a transaction.
    conexion->BeginTrans();
    conexion->Execute("DELETE FROM T");
    conexion->Perder();
    EXPECT_EQ(DescripcionDe([&] { conexion->Execute("INSERT INTO T VALUES ('B', 'dos', 2)"); }), "La conexión con la base de datos está cerrada.");
    EXPECT_NO_THROW(conexion->RollbackTrans());
    // Between transactions the session is opened again.
    EXPECT_EQ(conexion->Execute("SELECT COUNT(*) FROM T").Fields(0).Texto(), "1");
    EXPECT_EQ(Contenido("T", "Clave"), antes);
}
