#include "host/bitacora/EscrituraBitacora.h"

#include "host/bitacora/CuentaSesion.h"
#include "host/bitacora/RegistroBitacora.h"
#include "host/datos/Conexion.h"
#include "host/errores/ErrorRm.h"

#include <QMutex>
#include <QSet>
#include <QSqlDatabase>

namespace orvinda {

namespace {

// The head row, locked, with the server's clock and login read in the same
// turn; the date keeps milliseconds so that it follows the chain's order.
QString ConsultaCabeza(Conexion::Dialecto dialecto)
{
    const QString columnas = QStringLiteral("SELECT Bc_Ultimo_Id, Bc_Hash, ");
    const QString cuenta = CuentaSesion::Expresion(dialecto);
    switch (dialecto) {
    case Conexion::Dialecto::SQLite:
        return columnas
            + QStringLiteral(
                   "strftime('%Y-%m-%dT%H:%M:%f', 'now', 'localtime') FROM Bitacora_Cabeza WHERE Bc_Clave = 1");
    case Conexion::Dialecto::PostgreSQL:
        return columnas + QStringLiteral("REPLACE(TO_CHAR(CLOCK_TIMESTAMP(), 'YYYY-MM-DD HH24:MI:SS.MS'), ' ', 'T'), ")
            + cuenta + QStringLiteral(" FROM Bitacora_Cabeza WHERE Bc_Clave = 1 FOR UPDATE");
    case Conexion::Dialecto::SqlServer:
        return columnas + QStringLiteral("CONVERT(VARCHAR(23), SYSDATETIME(), 126), ") + cuenta
            + QStringLiteral(" FROM Bitacora_Cabeza WITH (UPDLOCK, ROWLOCK) WHERE Bc_Clave = 1");
    case Conexion::Dialecto::Otro: break;
    }
    return columnas + QStringLiteral("CAST(CURRENT_TIMESTAMP AS VARCHAR(30)), ") + cuenta
        + QStringLiteral(" FROM Bitacora_Cabeza WHERE Bc_Clave = 1");
}

// Qt's SQLite driver binds text as UTF-16, which the engine stores as UTF-8
// without a leading U+FEFF and with noncharacters replaced: the row would no
// longer be what was sealed. There each text goes as its UTF-8 bytes, which
// the engine takes as text unchanged.
bool TextoEnBytes(Conexion::Dialecto dialecto)
{
    return dialecto == Conexion::Dialecto::SQLite;
}

QString Insercion(const QVariantList& valores, bool enBytes)
{
    QStringList columnas = RegistroBitacora::Columnas();
    columnas << QStringLiteral("Bd_Hash_Anterior") << QStringLiteral("Bd_Hash");
    QStringList marcas;
    for (const QVariant& v : valores)
        marcas << (enBytes && v.metaType() == QMetaType::fromType<QString>() ? QStringLiteral("CAST(? AS TEXT)")
                                                                             : QStringLiteral("?"));
    return QStringLiteral("INSERT INTO Bitacora_Decisiones (%1) VALUES (%2)")
        .arg(columnas.join(QStringLiteral(", ")), marcas.join(QStringLiteral(", ")));
}

QVariant EnBytes(const QVariant& v)
{
    if (v.metaType() != QMetaType::fromType<QString>())
        return v;
    const QString texto = v.toString();
    return texto.isNull() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(texto.toUtf8());
}

// Sessions already seen to have what a decision needs: looked for once per session.
QMutex g_vistas;
QSet<QString> g_completas;

} // namespace

void EscrituraBitacora::Exigir(Conexion& conexion)
{
    const QString sesion = conexion.BaseDatos().connectionName();
    {
        const QMutexLocker bloqueo(&g_vistas);
        if (g_completas.contains(sesion))
            return;
    }
    if (const QString falta = EscrituraBitacora::Falta(conexion); !falta.isEmpty())
        throw ErrorRm(falta);
    const QMutexLocker bloqueo(&g_vistas);
    g_completas.insert(sesion);
}

bool EscrituraBitacora::Existe(Conexion& conexion)
{
    QStringList tablas = conexion.BaseDatos().tables(QSql::Tables);
    for (QString& t : tablas)
        t = t.toLower();
    return tablas.contains(Tabla.toLower()) && tablas.contains(TablaCabeza.toLower());
}

QString EscrituraBitacora::SinBitacora(const QString& orden)
{
    return QStringLiteral("Esta base de datos no tiene la bitácora de decisiones (tablas %1 y %2): no se autoriza ni "
                          "se rechaza nada sin dejar rastro. Agréguela con: %3")
        .arg(Tabla, TablaCabeza, orden);
}

QString EscrituraBitacora::Falta(Conexion& conexion, const QString& orden)
{
    if (!Existe(conexion))
        return SinBitacora(orden);
    if (!CuentaSesion::OperadoresConCuenta(conexion))
        return QStringLiteral("La tabla Operadores de esta base de datos no tiene la columna Op_Cuenta, que dice qué "
                              "cuenta es cada operador: no se autoriza ni se rechaza nada sin saber quién lo decide. "
                              "Agréguela con: %1")
            .arg(orden);
    return QString();
}

void EscrituraBitacora::Anotar(Conexion& conexion, RegistroBitacora& r)
{
    Exigir(conexion);
    try {
        const Conexion::Dialecto dialecto = conexion.ObtenerDialecto();
        Recordset cabeza = conexion.Execute(ConsultaCabeza(dialecto));
        if (cabeza.Eof())
            throw ErrorRm(
                QStringLiteral("La tabla %1 no tiene su fila. Agréguela con: %2").arg(TablaCabeza, OrdenActualizar));
        r.id = cabeza.Fields(0).Value().toLongLong() + 1;
        r.hashAnterior = cabeza.Fields(1).Texto();
        r.fecha = cabeza.Fields(2).Texto();
        r.cuenta = CuentaSesion::Expresion(dialecto).isEmpty() ? CuentaSesion::DelSistema() : cabeza.Fields(3).Texto();
        cabeza.Close();
        r.hash = RegistroBitacora::Sellar(r.hashAnterior, r.Textos());

        const QVariant sinFilas(QMetaType::fromType<int>());
        const QVariant sinReferencia(QMetaType::fromType<qlonglong>());
        QVariantList valores
            = {r.id,         r.fecha,        r.operador,
               r.cuenta,     r.maquina,      r.clave,
               r.tabla,      r.folio,        r.decision,
               r.valores,    r.sentencia,    r.filas < 0 ? sinFilas : QVariant(r.filas),
               r.comentario, r.origen,       r.referencia == 0 ? sinReferencia : QVariant(r.referencia),
               r.resultado,  r.hashAnterior, r.hash};
        const bool enBytes = TextoEnBytes(dialecto);
        const QString insercion = Insercion(valores, enBytes);
        if (enBytes)
            for (QVariant& v : valores)
                v = EnBytes(v);
        conexion.Execute(insercion, valores);
        conexion.Execute(QStringLiteral("UPDATE Bitacora_Cabeza SET Bc_Ultimo_Id = ?, Bc_Hash = ? WHERE Bc_Clave = 1"),
                         {r.id, r.hash});
    } catch (const ErrorRm& e) {
        if (e.ObtenerCausa() != ErrorRm::Causa::Sentencia)
            throw;
        throw ErrorRm(
            QStringLiteral("No se pudo anotar la decisión en la bitácora (tabla %1): %2").arg(Tabla, e.Descripcion()),
            e.Numero());
    }
}

} // namespace orvinda
