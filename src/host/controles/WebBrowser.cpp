#include "host/controles/WebBrowser.h"

#include "host/controles/PaginaSegura.h"
#include "host/errores/ErrorRm.h"

#include <QCoreApplication>

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <memory>

namespace orvinda {

namespace {

// A JavaScript string literal for any text: JSON's quoting is valid script.
QString LiteralJs(const QString& texto)
{
    const QByteArray json = QJsonDocument(QJsonArray{texto}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

// The one page kept between browsers; deleted before the engine goes down
// (post routines run in reverse order, and the engine's came first).
QPointer<QWebEnginePage> g_paginaGuardada;

void BorrarPaginaGuardada()
{
    delete g_paginaGuardada.data();
}

// Each name's value and the rules its element's value breaks (see Lectura).
// The browser counts length only once the user typed: a value the program
// set, or the template put there, is measured here too.
QString GuionLectura(const QStringList& nombres)
{
    return QStringLiteral(
               "(function (nombres) { var todos = document.querySelectorAll('*'), valores = {}, incumplidas = [];"
               "  var reglas = ['badInput', 'typeMismatch', 'patternMismatch', 'rangeUnderflow', 'rangeOverflow',"
               "    'stepMismatch', 'tooLong', 'tooShort', 'valueMissing'];"
               "  nombres.forEach(function (n) {"
               "    var h = Array.prototype.filter.call(todos, function (e) {"
               "      return e.id === n || e.getAttribute('name') === n; });"
               "    if (h.length !== 1) { valores[n] = { total: h.length }; return; }"
               "    var e = h[0], campo = /^(INPUT|TEXTAREA|SELECT|BUTTON|OPTION)$/.test(e.tagName);"
               "    var v = campo ? e.value : e.textContent;"
               "    v = v === null || v === undefined ? '' : String(v);"
               "    valores[n] = { total: 1, valor: v };"
               "    if (!campo || !e.willValidate || !e.validity) return;"
               "    var regla = reglas.filter(function (k) { return e.validity[k]; })[0] || '';"
               "    if (!regla && e.maxLength >= 0 && v.length > e.maxLength) regla = 'tooLong';"
               "    if (!regla && e.minLength > 0 && v.length > 0 && v.length < e.minLength) regla = 'tooShort';"
               "    if (!regla) return;"
               "    var a = function (k) { return e.getAttribute(k) || ''; };"
               "    incumplidas.push({ nombre: n, regla: regla, type: e.type || '', min: a('min'), max: a('max'),"
               "      step: a('step'), pattern: a('pattern'), title: a('title'), maxlength: a('maxlength'),"
               "      minlength: a('minlength'), longitud: v.length }); });"
               "  return { valores: valores, incumplidas: incumplidas }; })(%1);")
        .arg(QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(nombres)).toJson(QJsonDocument::Compact)));
}

WebBrowser::Lectura LecturaDe(const QVariant& respuesta)
{
    const QVariantMap r = respuesta.toMap();
    return {r.value(QStringLiteral("valores")).toMap(), r.value(QStringLiteral("incumplidas")).toList(), {}};
}

// The element whose id or name is n, or null when none or several match.
const char* const kElementoUnico
    = "function (n) {"
      "  var h = Array.prototype.filter.call(document.querySelectorAll('*'), function (e) {"
      "    return e.id === n || e.getAttribute('name') === n; });"
      "  return h.length === 1 ? h[0] : null; }";

} // namespace

WebBrowser::WebBrowser(QWidget* parent)
    : QWebEngineView(parent)
{
    connect(this, &QWebEngineView::loadFinished, this, [this](bool correcta) {
        m_cargaCorrecta = correcta;
        emit DocumentComplete();
    });
}

WebBrowser::~WebBrowser()
{
    if (!m_paginaPrestada)
        return;
    QWebEnginePage* pagina = page();
    if (!pagina)
        return;
    if (g_paginaGuardada) {
        pagina->deleteLater();
        return;
    }
    pagina->runJavaScript(QStringLiteral("if (document.body) document.body.innerHTML = '';"),
                          QWebEngineScript::ApplicationWorld);
    g_paginaGuardada = pagina;
}

void WebBrowser::TomarPaginaGuardada()
{
    QWebEnginePage* pagina = g_paginaGuardada.data();
    g_paginaGuardada = nullptr;
    if (!pagina) {
        static bool rutina = false;
        pagina = new QWebEnginePage();
        PaginaSegura::Aplicar(pagina);
        // Until its first document paints, the page shows the window behind
        // it rather than a white sheet.
        pagina->setBackgroundColor(palette().color(QPalette::Window));
        if (!rutina) {
            qAddPostRoutine(BorrarPaginaGuardada);
            rutina = true;
        }
    } else {
        // The last browser's documents are no way back from this one's.
        pagina->history()->clear();
    }
    setPage(pagina);
    m_paginaPrestada = true;
}

void WebBrowser::Navigate(const QString& direccion)
{
    QUrl url(direccion);
    if (url.scheme().isEmpty())
        url = QUrl::fromUserInput(direccion);
    load(url);
}

void WebBrowser::ReemplazarCuerpo(const QString& html, std::function<void()> hecho, const QVariantMap& vacios)
{
    // One answer for both: a second round trip per document would show in a bulk run.
    QString completar;
    if (!vacios.isEmpty())
        completar = QStringLiteral(
                        "(function (valores, unico) { Object.keys(valores).forEach(function (n) {"
                        "  var e = unico(n);"
                        "  if (!e || !/^(INPUT|TEXTAREA|SELECT)$/.test(e.tagName) || String(e.value).trim() !== '')"
                        "    return;"
                        "  e.value = valores[n];"
                        "  e.dispatchEvent(new Event('input', { bubbles: true }));"
                        "  e.dispatchEvent(new Event('change', { bubbles: true })); }); })(%1, %2);")
                        .arg(QString::fromUtf8(
                                 QJsonDocument(QJsonObject::fromVariantMap(vacios)).toJson(QJsonDocument::Compact)),
                             QLatin1String(kElementoUnico));
    page()->runJavaScript(
        QStringLiteral("(function (h) { try { if (document.body) document.body.innerHTML = h; window.scrollTo(0, 0);"
                       " if (window.getSelection) window.getSelection().removeAllRanges(); }"
                       " catch (e) {} })(%1);%2")
            .arg(LiteralJs(html), completar),
        QWebEngineScript::ApplicationWorld, [hecho](const QVariant&) {
            if (hecho)
                hecho();
        });
}

bool WebBrowser::EnfocarYMarcar(const QString& nombre)
{
    setFocus();
    const QString guion = QStringLiteral("(function (n) { var e = (%1)(n); if (!e) return false;"
                                         "  e.setAttribute('aria-invalid', 'true');"
                                         "  e.style.outline = '3px solid #d64545'; e.style.outlineOffset = '1px';"
                                         "  e.scrollIntoView({ block: 'center' }); e.focus(); return true; })(%2);")
                              .arg(QLatin1String(kElementoUnico), LiteralJs(nombre));
    return EjecutarSincrono(guion, nombre).toBool();
}

void WebBrowser::QuitarMarcas()
{
    page()->runJavaScript(QStringLiteral("document.querySelectorAll('[aria-invalid]').forEach(function (e) {"
                                         "  e.removeAttribute('aria-invalid'); e.style.outline = '';"
                                         "  e.style.outlineOffset = ''; });"),
                          QWebEngineScript::ApplicationWorld);
}

QString WebBrowser::ValorElemento(const QString& nombre)
{
    return LecturaDe(EjecutarSincrono(GuionLectura({nombre}), nombre)).Valor(nombre);
}

WebBrowser::Lectura WebBrowser::LeerCampos(const QStringList& nombres)
{
    try {
        return LecturaDe(EjecutarSincrono(GuionLectura(nombres), nombres.join(QStringLiteral(", "))));
    } catch (...) {
        return {{}, {}, std::current_exception()};
    }
}

void WebBrowser::LeerCampos(const QStringList& nombres, std::function<void(const Lectura&)> alLeer)
{
    page()->runJavaScript(GuionLectura(nombres), QWebEngineScript::ApplicationWorld,
                          [alLeer](const QVariant& respuesta) { alLeer(LecturaDe(respuesta)); });
}

QString WebBrowser::Lectura::Valor(const QString& nombre) const
{
    if (fallo)
        std::rethrow_exception(fallo);
    const QVariantMap r = valores.value(nombre).toMap();
    if (!r.contains(QStringLiteral("total")))
        throw ErrorRm(QStringLiteral("No se pudo leer el elemento '%1' de la página").arg(nombre));
    const int total = r.value(QStringLiteral("total")).toInt();
    if (total == 0)
        throw ErrorRm(QStringLiteral("No existe el elemento '%1' en la página").arg(nombre), 91);
    if (total > 1)
        throw ErrorRm(QStringLiteral("Hay %1 elementos '%2' en la página").arg(total).arg(nombre), 438);
    return r.value(QStringLiteral("valor")).toString();
}

QString WebBrowser::HtmlCuerpo()
{
    return EjecutarSincrono(QStringLiteral("document.body ? document.body.innerHTML : '';"), QStringLiteral("body"))
        .toString();
}

QVariant WebBrowser::EjecutarSincrono(const QString& guion, const QString& queLeia)
{
    // The answer may arrive after we gave up waiting, or after the loop (and
    // even this view) is gone: it lands in shared state, never on the stack.
    struct Respuesta
    {
        bool llego = false;
        QVariant valor;
        QPointer<QEventLoop> bucle;
    };
    auto respuesta = std::make_shared<Respuesta>();

    QEventLoop bucle;
    respuesta->bucle = &bucle;
    page()->runJavaScript(guion, QWebEngineScript::ApplicationWorld, [respuesta](const QVariant& valor) {
        respuesta->llego = true;
        respuesta->valor = valor;
        if (respuesta->bucle)
            respuesta->bucle->quit();
    });
    if (!respuesta->llego) {
        QTimer::singleShot(m_espera, &bucle, &QEventLoop::quit);
        bucle.exec(QEventLoop::ExcludeUserInputEvents);
    }
    respuesta->bucle = nullptr;
    if (!respuesta->llego)
        throw ErrorRm(QStringLiteral("La página no respondió al leer '%1'").arg(queLeia));
    return respuesta->valor;
}

} // namespace orvinda
