#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <utility>

// The description of the orvinda::ErrorRm that f raises, or "<sin error>".
QString DescripcionDe(const std::function<void()>& f);

// The whole file as UTF-8 text; "" when it cannot be read.
QString LeerArchivo(const QString& ruta);

// Every row of a table as "a|b|c" ("<NULL>" for NULL), to compare before and after.
QStringList Instantanea(QSqlDatabase db, const QString& tabla, const QString& orden);

// One row of Configuracion_Autorizacion; columns not named take the table's defaults.
bool InsertarConfiguracion(QSqlDatabase db, const QString& clave, const QList<std::pair<QString, QVariant>>& columnas);
