#pragma once

#include <QWebEngineView>

#include <functional>

namespace orvinda {

// Browser control. Its own scripts run in a world of their own, which the
// page's script (when a page is allowed any) cannot reach; they run
// asynchronously, and the readers here
// wait for the answer in a local event loop (user input held back) so that
// the forms read page values as plain calls. They throw ErrorRm when the
// answer does not come within the timeout.
class WebBrowser : public QWebEngineView
{
    Q_OBJECT
    Q_PROPERTY(int Timeout READ Timeout WRITE setTimeout)

public:
    explicit WebBrowser(QWidget* parent = nullptr);

    // A text without a scheme is taken as the user would type it.
    void Navigate(const QString& direccion);
    bool UltimaCargaCorrecta() const { return m_cargaCorrecta; }

    // Replaces the current document's body, errors ignored; hecho runs once
    // the replacement has been made.
    void ReemplazarCuerpo(const QString& html, std::function<void()> hecho = {});
    // The value of the one element whose id or name is nombre: value for
    // form fields, the text content otherwise. Throws ErrorRm when no element
    // or several match.
    QString ValorElemento(const QString& nombre);
    QString HtmlCuerpo();

    int Timeout() const { return m_espera; } // milliseconds
    void setTimeout(int milisegundos) { m_espera = milisegundos; }

signals:
    // A load finished, well or not.
    void DocumentComplete();

private:
    QVariant EjecutarSincrono(const QString& guion, const QString& queLeia);

    bool m_cargaCorrecta = false;
    int m_espera = 5000;
};

} // namespace orvinda
