#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <utility>

class QObject;
class QWidget;
namespace orvinda {
class WebBrowser;
}

// The description of the orvinda::ErrorRm that f raises, or "<sin error>".
QString DescripcionDe(const std::function<void()>& f);

// The whole file as UTF-8 text; "" when it cannot be read.
QString LeerArchivo(const QString& ruta);

// Every row of a table as "a|b|c" ("<NULL>" for NULL), to compare before and after.
QStringList Instantanea(QSqlDatabase db, const QString& tabla, const QString& orden);

// One row of Configuracion_Autorizacion; columns not named take the table's defaults.
bool InsertarConfiguracion(QSqlDatabase db, const QString& clave, const QList<std::pair<QString, QVariant>>& columnas);

// Waits until the page's body holds marca (the page may still be loading).
bool EsperarPagina(orvinda::WebBrowser& navegador, const QString& marca, int ms = 20000);
// Types valor into the page's element campo, as the user would.
bool EscribirCampo(orvinda::WebBrowser& navegador, const QString& campo, const QString& valor);

// Runs accion once buscar() gives a visible window, from inside that window's
// modal loop; the window is closed afterwards if still shown, so a failed
// check cannot leave the loop running. The poll belongs to dueno: deleting
// its children disarms a poll that never fired.
void AlAbrirseModal(QObject& dueno, std::function<QWidget*()> buscar, std::function<void(QWidget&)> accion);
