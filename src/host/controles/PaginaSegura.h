#pragma once

#include <QString>

class QWebEnginePage;

namespace orvinda {

// A page that shows documents as data: none of its own script runs (the
// shell reads and fills it from a world of its own), and it reaches nothing
// but the shell's page server.
class PaginaSegura
{
public:
    // The shell's own URL scheme, served from this process.
    static constexpr const char* Esquema = "orvinda";

    // Turns the page's script off and lets only the shell's scheme through.
    static void Aplicar(QWebEnginePage* pagina);

    // The Content-Security-Policy of every page the shell serves or prints.
    static QString Politica();
    // The same, as a <meta> for the page's <head>.
    static QString MetaPolitica();
};

} // namespace orvinda
