#include "host/bitacora/CuentaSesion.h"

#include <QSqlDatabase>
#include <QSqlRecord>

#include <pwd.h>
#include <unistd.h>

namespace orvinda {

QString CuentaSesion::DelSistema()
{
    // The effective user, not $USER: the environment is the caller's to set.
    if (const passwd* p = getpwuid(geteuid()))
        return QString::fromLocal8Bit(p->pw_name);
    return QString::number(geteuid());
}

QString CuentaSesion::Expresion(Conexion::Dialecto dialecto)
{
    switch (dialecto) {
    case Conexion::Dialecto::SQLite: return QString();
    case Conexion::Dialecto::SqlServer: return QStringLiteral("ORIGINAL_LOGIN()");
    case Conexion::Dialecto::PostgreSQL: return QStringLiteral("SESSION_USER");
    case Conexion::Dialecto::Otro: break;
    }
    return QStringLiteral("CURRENT_USER");
}

bool CuentaSesion::OperadoresConCuenta(Conexion& conexion)
{
    QSqlDatabase db = conexion.BaseDatos();
    QStringList tablas = db.tables(QSql::Tables);
    for (QString& t : tablas)
        t = t.toLower();
    return !tablas.contains(QStringLiteral("operadores"))
        || db.record(QStringLiteral("Operadores")).indexOf(QStringLiteral("Op_Cuenta")) >= 0;
}

} // namespace orvinda
