#pragma once

#include <QString>
#include <functional>

class QObject;
class QWidget;
namespace orvinda {
class ListView;
class WebBrowser;
} // namespace orvinda

// Waits until the page's body holds marca (the page may still be loading).
bool EsperarPagina(orvinda::WebBrowser& navegador, const QString& marca, int ms = 20000);
// Types valor into the page's element campo, as the user would.
bool EscribirCampo(orvinda::WebBrowser& navegador, const QString& campo, const QString& valor);

// Runs accion once buscar() gives a visible window, from inside that window's
// modal loop; the window is closed afterwards if still shown, so a failed
// check cannot leave the loop running. The poll belongs to dueno: deleting
// its children disarms a poll that never fired.
void AlAbrirseModal(QObject& dueno, std::function<QWidget*()> buscar, std::function<void(QWidget&)> accion);

// Waits until the list being filled shows its rows; the read's error, "" when every row came.
QString EsperarLista(orvinda::ListView& lista, int ms = 20000);
