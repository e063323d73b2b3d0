#include "host/controles/PaginaSegura.h"

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

namespace orvinda {

namespace {

// A document may name any address (an image, a form, a frame); the only
// one answered is the shell's own, so nothing it holds leaves the process.
// Inline data goes nowhere; a page given as text is loaded that way.
class FiltroEsquema : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& solicitud) override
    {
        const QString esquema = solicitud.requestUrl().scheme();
        if (esquema != QLatin1String(PaginaSegura::Esquema) && esquema != QLatin1String("data"))
            solicitud.block(true);
    }
};

} // namespace

void PaginaSegura::Aplicar(QWebEnginePage* pagina)
{
    QWebEngineSettings* ajustes = pagina->settings();
    ajustes->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    ajustes->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    ajustes->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    ajustes->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    ajustes->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    pagina->setUrlRequestInterceptor(new FiltroEsquema(pagina));
}

QString PaginaSegura::Politica()
{
    return QStringLiteral("default-src 'none'; style-src 'unsafe-inline' %1:; img-src %1: data:; font-src %1: data:;"
                          " form-action 'none'; base-uri 'none'")
        .arg(QLatin1String(Esquema));
}

QString PaginaSegura::MetaPolitica()
{
    return QStringLiteral("<meta http-equiv=\"Content-Security-Policy\" content=\"%1\">\n").arg(Politica());
}

} // namespace orvinda
