#include "shell/CreacionDemo.h"

#include "basedatos/DatosDemo.h"
#include "basedatos/EsquemaBaseDatos.h"
#include "host/datos/Conexion.h"
#include "host/errores/ErrorRm.h"
#include "shell/IdentidadOperador.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <memory>

namespace orvinda {

namespace {

// The tables are created in one transaction and filled in another: what the
// first one left is dropped, last table first. The target held no table, so
// each of them is ours.
void Deshacer(QSqlDatabase db)
{
    const QStringList tablas = EsquemaBaseDatos::NombresTablas();
    QStringList existentes = db.tables(QSql::Tables);
    for (QString& t : existentes)
        t = t.toLower();
    QSqlQuery q(db);
    for (auto it = tablas.crbegin(); it != tablas.crend(); ++it)
        if (existentes.contains(it->toLower()))
            q.exec(QStringLiteral("DROP TABLE ") + *it);
}

} // namespace

void CreacionDemo::Llenar(Conexion& conexion)
{
    QSqlDatabase db = conexion.BaseDatos();
    DatosDemo::Cargar(db);
    IdentidadOperador::MarcarDemo(conexion);
}

void CreacionDemo::Crear(const QString& destino)
{
    const bool archivo = !Conexion::EsCadenaOdbc(destino);
    // A link counts as something that was there: it is not ours to remove.
    const bool existia = archivo && (QFileInfo::exists(destino) || QFileInfo(destino).isSymLink());
    std::unique_ptr<Conexion> conexion;
    bool creando = false;
    try {
        conexion = Conexion::Abrir(destino);
        QSqlDatabase db = conexion->BaseDatos();
        // SQLite's own bookkeeping tables do not count.
        const QStringList tablas = db.tables(QSql::Tables).filter(QRegularExpression(QStringLiteral("^(?!sqlite_)")));
        if (!tablas.isEmpty())
            throw ErrorRm(QStringLiteral("La base de datos %1 ya tiene tablas (%2): --crear-demo solo llena una base "
                                         "sin tablas y no la sobrescribe.")
                              .arg(destino,
                                   tablas.mid(0, 3).join(QStringLiteral(", "))
                                       + (tablas.size() > 3 ? QStringLiteral("...") : QString())));
        creando = true;
        Llenar(*conexion);
    } catch (const std::exception& e) {
        const QString motivo = QString::fromUtf8(e.what());
        if (conexion && creando)
            Deshacer(conexion->BaseDatos());
        conexion.reset();
        if (archivo && !existia)
            QFile::remove(destino);
        throw ErrorRm(motivo);
    }
}

} // namespace orvinda
