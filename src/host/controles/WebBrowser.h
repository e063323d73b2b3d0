#pragma once

#include <QVariantList>
#include <QVariantMap>
#include <QWebEngineView>

#include <exception>
#include <functional>

namespace orvinda {

// Browser control. Its own scripts run in a world of their own, which the
// page's script (when a page is allowed any) cannot reach.
//
// The one nested event loop of the system lives here: a script's answer
// comes back asynchronously, and the synchronous readers (ValorElemento,
// HtmlCuerpo, EjecutarSincrono) wait for it in a local loop so that the
// review road reads page values as plain calls, in order, before its
// transaction. That loop holds user input back and lasts at most Timeout
// milliseconds (then ErrorRm is thrown); what may still run inside it are
// posted events and timers, so nothing long is ever posted while a page
// value is being read. Everything else waits through signals.
class WebBrowser : public QWebEngineView
{
    Q_OBJECT
    Q_PROPERTY(int Timeout READ Timeout WRITE setTimeout)

public:
    explicit WebBrowser(QWidget* parent = nullptr);
    ~WebBrowser() override;

    // Browsers come and go with their dialogs; their page need not. This
    // browser takes the page the last one gave back (a renderer already
    // running opens a document several times faster), or a new one, always
    // made safe with PaginaSegura. It gives the page back, emptied, when it
    // goes, so the next browser never shows the last document.
    void TomarPaginaGuardada();

    // A text without a scheme is taken as the user would type it.
    void Navigate(const QString& direccion);
    bool UltimaCargaCorrecta() const { return m_cargaCorrecta; }

    // Replaces the current document's body, errors ignored, and shows its
    // top; hecho runs once the replacement has been made. In the same step,
    // each form field of vacios (by id or name, one element each) that the
    // new body leaves empty takes the value given, as if typed.
    void ReemplazarCuerpo(const QString& html, std::function<void()> hecho = {}, const QVariantMap& vacios = {});
    // The value of the one element whose id or name is nombre: value for
    // form fields, the text content otherwise. Throws ErrorRm when no element
    // or several match.
    QString ValorElemento(const QString& nombre);

    // What a review reads of the page, in one answer: each field's value,
    // and the fields whose value breaks their element's own HTML rules, as
    // the browser judges them (its validity state).
    struct Lectura
    {
        // Per name: how many elements matched, and the value of the one.
        QVariantMap valores;
        // In the order asked, each as a map: nombre; regla, the broken rule
        // as the validity state names it (badInput, patternMismatch,
        // rangeUnderflow..., tooLong and tooShort also for a value the
        // program set); the element's type, min, max, step, pattern, title,
        // maxlength and minlength; and the value's length. Names without a
        // single element are not judged.
        QVariantList incumplidas;
        // Why the page could not be read, when it could not.
        std::exception_ptr fallo;

        // The value of nombre as ValorElemento gives it; throws as it does.
        QString Valor(const QString& nombre) const;
    };
    // Waits for the answer, as the readers above do; a page that does not
    // answer gives a Lectura whose every value fails.
    Lectura LeerCampos(const QStringList& nombres);
    // Without waiting: alLeer runs once the page has answered.
    void LeerCampos(const QStringList& nombres, std::function<void(const Lectura&)> alLeer);
    QString HtmlCuerpo();
    // Gives the keyboard to the one element whose id or name is nombre,
    // scrolls it into view and marks it (aria-invalid) until the next
    // QuitarMarcas. False when no single element matches.
    bool EnfocarYMarcar(const QString& nombre);
    void QuitarMarcas();

    // The value of a script run in the shell's own world; queLeia names
    // what it reads in the error thrown when no answer comes.
    QVariant EjecutarSincrono(const QString& guion, const QString& queLeia = QStringLiteral("la página"));

    int Timeout() const { return m_espera; } // milliseconds
    void setTimeout(int milisegundos) { m_espera = milisegundos; }

signals:
    // A load finished, well or not.
    void DocumentComplete();

private:
    bool m_cargaCorrecta = false;
    bool m_paginaPrestada = false;
    int m_espera = 5000;
};

} // namespace orvinda
