#pragma once

#include "host/controles/PaginaSegura.h"

#include <QByteArray>
#include <QString>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;

namespace orvinda {

// The shell's page server on its own URL scheme, "orvinda": the editor page
// into which the review dialog puts the rendered document, with the
// stylesheet that makes documents read as business documents. Every other
// path is not found. The host part is not checked, so any base address of
// the form orvinda://name works.
class ServidorPaginas : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    static constexpr const char* Esquema = PaginaSegura::Esquema;
    static constexpr const char* RutaEditor = "/EditorWeb/Pagina.Html";

    // The engine learns custom schemes only before it starts, so this runs
    // before the QApplication is created. Inline, so that any main (the
    // shell's, the tests') can call it without linking the shell.
    static void RegistrarEsquema()
    {
        const QByteArray nombre(Esquema);
        if (QWebEngineUrlScheme::schemeByName(nombre).name() == nombre)
            return;
        QWebEngineUrlScheme esquema(nombre);
        esquema.setSyntax(QWebEngineUrlScheme::Syntax::Host);
        // Secure: the page is the shell's own, served from this process.
        esquema.setFlags(QWebEngineUrlScheme::SecureScheme);
        QWebEngineUrlScheme::registerScheme(esquema);
    }

    // One server per profile (the default profile when none is given): a
    // second call returns the one already installed. The server is owned by
    // the profile.
    static ServidorPaginas* Instalar(QWebEngineProfile* perfil = nullptr);

    // The editor page as served, UTF-8.
    static QByteArray PaginaEditor();
    // The business-document stylesheet; the printer renders with it too.
    static QString HojaEstilo();

    void requestStarted(QWebEngineUrlRequestJob* solicitud) override;

    int PaginasServidas() const { return m_servidas; }

private:
    explicit ServidorPaginas(QObject* parent);

    int m_servidas = 0;
};

} // namespace orvinda
