#include "host/datos/Sesion.h"

#include "host/datos/ArchivoVerificado.h"
#include "host/datos/ErrorSql.h"
#include "host/datos/Secretos.h"
#include "host/datos/Vigia.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <QHash>
#include <fcntl.h>
#include <mutex>

namespace orvinda {

namespace {

// What the string says, before a driver can say better.
Conexion::Dialecto DialectoCadena(const QString& cadena)
{
    const QString c = cadena.toUpper();
    if (c.contains(QLatin1String("SQL SERVER")) || c.contains(QLatin1String("FREETDS"))
        || c.contains(QLatin1String("SQLSRV")))
        return Conexion::Dialecto::SqlServer;
    if (c.contains(QLatin1String("POSTGRES")) || c.contains(QLatin1String("PSQLODBC")))
        return Conexion::Dialecto::PostgreSQL;
    return Conexion::Dialecto::Otro;
}

// Qt's ODBC driver puts "DSN=" in front of any string that names neither a
// driver nor a server: a string that only names a data source goes to it
// with that name first and without its key.
QString CadenaParaQodbc(const QString& cadena)
{
    if (cadena.contains(QLatin1String("DRIVER="), Qt::CaseInsensitive)
        || cadena.contains(QLatin1String("SERVER="), Qt::CaseInsensitive))
        return cadena;
    QStringList partes = cadena.split(u';');
    for (qsizetype i = 0; i < partes.size(); ++i) {
        const QString clave = partes[i].section(u'=', 0, 0).trimmed();
        if (clave.compare(QLatin1String("DSN"), Qt::CaseInsensitive) == 0) {
            const QString nombre = partes.takeAt(i).section(u'=', 1);
            partes.prepend(nombre);
            break;
        }
    }
    return partes.join(u';');
}

// SQLite opens its file again by its path: the file is judged first on a
// descriptor (made, 0600, where there was none), and once SQLite has opened
// it the path must still name it. Left open: whoever may write the folder
// could swap another file in and ours back between the two; such a person
// can replace the database anyway.
ArchivoVerificado ArchivoSqlite(const QString& destino)
{
    ArchivoVerificado archivo = ArchivoVerificado::AbrirOCrear(destino, O_RDONLY, ArchivoVerificado::Uso::Escribir);
    if (!archivo.Abierto())
        throw ErrorRm(QStringLiteral("No se abre la base de datos %1: %2.").arg(destino, archivo.Motivo()));
    // Statements and documents: the user's alone.
    archivo.Privatizar();
    return archivo;
}

std::mutex g_canales;
QHash<QString, CanalServidor> g_canal;

// Sessions open one at a time, so that the socket that appeared is the one
// the session opened.
bool Conectar(QSqlDatabase& db)
{
    static std::mutex apertura;
    const std::lock_guard bloqueo(apertura);
    const CanalServidor::Huella antes = CanalServidor::Tomar();
    if (!db.open())
        return false;
    if (db.driverName() != u"QODBC")
        return true;
    int puerto = 0;
    if (db.driver()->dbmsType() == QSqlDriver::PostgreSQL) {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT inet_client_port()")) && q.next())
            puerto = q.value(0).toInt();
    }
    const CanalServidor canal = CanalServidor::Buscar(antes, puerto);
    canal.ActivarKeepalive(30);
    const std::lock_guard registro(g_canales);
    g_canal.insert(db.connectionName(), canal);
    return true;
}

} // namespace

QString Sesion::NombreNuevo()
{
    static QAtomicInt contador;
    return QStringLiteral("orvinda_%1").arg(contador.fetchAndAddRelaxed(1));
}

QSqlDatabase Sesion::Abrir(const QString& nombre, const QString& destino, bool soloLectura)
{
    const bool odbc = Conexion::EsCadenaOdbc(destino);
    // The driver's words on a line of their own: masking ends a password at
    // the end of its line.
    const auto fallar = [&](const QString& motivo) {
        Cerrar(nombre);
        return ErrorRm(
            Secretos::Ocultar(QStringLiteral("No se puede abrir la base de datos %1:\n%2").arg(destino, motivo)));
    };
    ArchivoVerificado archivo;
    if (!odbc) {
        const QFileInfo info(destino);
        if (!info.absoluteDir().exists())
            throw ErrorRm(QStringLiteral("No se puede abrir la base de datos %1: la carpeta %2 no existe.")
                              .arg(destino, info.absolutePath()));
        archivo = ArchivoSqlite(destino);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(odbc ? QStringLiteral("QODBC") : QStringLiteral("QSQLITE"), nombre);
    if (!db.isValid()) {
        db = QSqlDatabase();
        Cerrar(nombre);
        throw ErrorRm(
            QStringLiteral("No está instalado el controlador de base de datos %1.").arg(odbc ? "QODBC" : "QSQLITE"));
    }
    db.setDatabaseName(odbc ? CadenaParaQodbc(destino) : destino);
    // Two shells on one file wait for each other instead of failing at once.
    if (!odbc)
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(Conexion::EsperaBloqueoPorOmision * 1000)
                             + (soloLectura ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
    else
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(EsperaConexion));
    if (!Conectar(db)) {
        const QString texto = ErrorSql::Texto(db.lastError());
        db = QSqlDatabase();
        throw fallar(texto);
    }
    if (!odbc) {
        // SQLite opens anything lazily; a file that is not a database shows here.
        QSqlQuery prueba(db);
        if (!prueba.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
            const QString texto = ErrorSql::Texto(prueba.lastError());
            prueba = QSqlQuery();
            db = QSqlDatabase();
            Cerrar(nombre);
            throw ErrorRm(QStringLiteral("No se puede abrir la base de datos %1: %2").arg(destino, texto));
        }
        if (!archivo.EstaEn(destino)) {
            prueba = QSqlQuery();
            db = QSqlDatabase();
            Cerrar(nombre);
            throw ErrorRm(
                QStringLiteral("No se abre la base de datos %1: otro archivo ocupó su lugar mientras se abría.")
                    .arg(destino));
        }
    }
    return db;
}

bool Sesion::Reabrir(QSqlDatabase& db)
{
    return Conectar(db);
}

CanalServidor Sesion::Canal(const QString& nombre)
{
    const std::lock_guard registro(g_canales);
    return g_canal.value(nombre);
}

void Sesion::Apartar(QString& nombre, QStringList& apartadas)
{
    apartadas.append(nombre);
    nombre = NombreNuevo();
}

void Sesion::CerrarApartadas(QStringList& apartadas)
{
    if (Vigia::AparteEnCurso() > 0)
        return;
    for (const QString& nombre : std::as_const(apartadas))
        Cerrar(nombre);
    apartadas.clear();
}

void Sesion::Cerrar(const QString& nombre)
{
    {
        const std::lock_guard registro(g_canales);
        g_canal.remove(nombre);
    }
    {
        QSqlDatabase db = QSqlDatabase::database(nombre, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(nombre);
}

Conexion::Dialecto Sesion::DialectoDe(const QSqlDatabase& db, const QString& destino)
{
    switch (db.driver() ? db.driver()->dbmsType() : QSqlDriver::UnknownDbms) {
    case QSqlDriver::SQLite: return Conexion::Dialecto::SQLite;
    case QSqlDriver::PostgreSQL: return Conexion::Dialecto::PostgreSQL;
    case QSqlDriver::MSSqlServer: return Conexion::Dialecto::SqlServer;
    case QSqlDriver::UnknownDbms:
        return Conexion::EsCadenaOdbc(destino) ? DialectoCadena(destino) : Conexion::Dialecto::SQLite;
    default: return Conexion::Dialecto::Otro;
    }
}

QStringList Sesion::Limites(Conexion::Dialecto dialecto, int esperaBloqueo, int limiteSentencia)
{
    // Each engine's own setting, in milliseconds.
    const QString bloqueo = QString::number(qMax(0, esperaBloqueo) * 1000);
    switch (dialecto) {
    case Conexion::Dialecto::SQLite: return {QStringLiteral("PRAGMA busy_timeout = ") + bloqueo};
    case Conexion::Dialecto::PostgreSQL:
        // Values are quoted for literals where a backslash is a character,
        // whatever the database or the role says by default.
        return {QStringLiteral("SET standard_conforming_strings = on"), QStringLiteral("SET lock_timeout = ") + bloqueo,
                QStringLiteral("SET statement_timeout = %1").arg(qMax(0, limiteSentencia) * 1000)};
    case Conexion::Dialecto::SqlServer: return {QStringLiteral("SET LOCK_TIMEOUT ") + bloqueo};
    case Conexion::Dialecto::Otro: break;
    }
    return {};
}

void Sesion::Aplicar(QSqlDatabase db, const QStringList& ajustes)
{
    QSqlQuery q(db);
    for (const QString& a : ajustes)
        q.exec(a);
}

} // namespace orvinda
