#include "comun/Ayudas.h"

#include "host/errores/ErrorRm.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

QString DescripcionDe(const std::function<void()>& f)
{
    try {
        f();
    } catch (const orvinda::ErrorRm& e) {
        return e.Descripcion();
    }
    return "<sin error>";
}

QString LeerArchivo(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList Instantanea(QSqlDatabase db, const QString& tabla, const QString& orden)
{
    QStringList filas;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(tabla, orden)))
        return {"<error>"};
    while (q.next()) {
        QStringList f;
        for (int i = 0; i < q.record().count(); ++i)
            f.append(q.value(i).isNull() ? "<NULL>" : q.value(i).toString());
        filas.append(f.join(u'|'));
    }
    return filas;
}

bool InsertarConfiguracion(QSqlDatabase db, const QString& clave, const QList<std::pair<QString, QVariant>>& columnas)
{
    QStringList nombres{"Ca_Cve_Configuracion_Autorizacion"};
    for (const auto& c : columnas)
        nombres << c.first;
    QSqlQuery q(db);
    q.prepare(
        QStringLiteral("INSERT INTO Configuracion_Autorizacion (%1) VALUES (?%2)").arg(nombres.join(u','), QStringLiteral(", ?").repeated(columnas.size())));
    q.addBindValue(clave);
    for (const auto& c : columnas)
        q.addBindValue(c.second);
    return q.exec();
}
