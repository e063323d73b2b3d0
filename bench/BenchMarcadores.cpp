// Cost of rendering an HTML template: ExpandirPlantilla, verbatim and with
// each value escaped for where it stands, over templates of growing size,
// each holding one token per column of a 1,000-column row, against a plain
// deep copy of the same text. Per-MiB times should stay flat as the template
// grows. Sizes count characters (1 MiB = 2^20 characters).

#include "marcadores/Marcadores.h"
#include "marcadores/MarcadoresHtml.h"

#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

using rm640::ColumnaPlantilla;
using rm640::Marcadores;
using rm640::MarcadoresHtml;
using Reloj = std::chrono::steady_clock;

namespace {

constexpr int kColumnas = 1000;

QString nombreColumna(int i)
{
    return QStringLiteral("COLUMNA_%1").arg(i + 1, 4, 10, QLatin1Char('0'));
}

QList<ColumnaPlantilla> primeraFila()
{
    QList<ColumnaPlantilla> fila;
    fila.reserve(kColumnas);
    for (int i = 0; i < kColumnas; ++i)
        fila.append({nombreColumna(i), QStringLiteral("valor <%1> & \"%1\"").arg(i)});
    return fila;
}

// Filler that looks like a table row, with a CSS rule now and then so that
// the search meets braces that belong to no token. Whole rows only, then
// blanks: every token stands in element text.
QString plantilla(qsizetype caracteres)
{
    static const QString relleno
        = QStringLiteral("<tr><td class=\"etiqueta\">Concepto del documento</td><td>texto fijo</td></tr>\n"
                         "<style>td.x { padding: 2px; }</style>\n");
    qsizetype fijo = 0;
    for (int i = 0; i < kColumnas; ++i)
        fijo += nombreColumna(i).size() + 2;
    const qsizetype porHueco = (caracteres - fijo) / kColumnas;

    QString html;
    html.reserve(caracteres);
    for (int i = 0; i < kColumnas; ++i) {
        qsizetype n = porHueco;
        for (; n >= relleno.size(); n -= relleno.size())
            html.append(relleno);
        html.append(QString(n, u' '));
        // Every other token in lower case: the template matches ignoring case.
        const QString nombre = nombreColumna(i);
        html.append(u'{').append(i % 2 ? nombre.toLower() : nombre).append(u'}');
    }
    while (html.size() < caracteres)
        html.append(u' ');
    return html;
}

// Seconds per call, repeating until at least minimo seconds have passed.
double medir(const std::function<void()>& f, double minimo)
{
    f(); // warm-up: allocator, caches
    int veces = 0;
    const auto inicio = Reloj::now();
    double transcurrido = 0;
    do {
        f();
        ++veces;
        transcurrido = std::chrono::duration<double>(Reloj::now() - inicio).count();
    } while (transcurrido < minimo);
    return transcurrido / veces;
}

} // namespace

int main()
{
    const auto fila = std::make_optional(primeraFila());
    const qsizetype tamanos[] = {64 * 1024, 1024 * 1024, 8 * 1024 * 1024};
    const double mib = 1024.0 * 1024.0;
    const auto escapada = [&](const QString& html) {
        return MarcadoresHtml::ExpandirPlantilla(html, fila, MarcadoresHtml::Modo::Escapar);
    };

    std::printf("%-10s %16s %16s %16s %10s\n", "template", "verbatim ms/MiB", "escaped ms/MiB", "copy ms/MiB",
                "esc/copy");
    double primero = 0, ultimo = 0, primeroEscapada = 0, ultimoEscapada = 0;
    for (const qsizetype tamano : tamanos) {
        const QString html = plantilla(tamano);

        for (const QString& resultado : {Marcadores::ExpandirPlantilla(html, fila), escapada(html)}) {
            if (resultado.contains(QStringLiteral("{COLUMNA_"), Qt::CaseInsensitive)) {
                std::fprintf(stderr, "a token was left in the %lld-character template\n",
                             static_cast<long long>(tamano));
                return EXIT_FAILURE;
            }
        }

        qsizetype sumidero = 0;
        const double expansion = medir([&] { sumidero += Marcadores::ExpandirPlantilla(html, fila).size(); }, 2.0);
        const double escape = medir([&] { sumidero += escapada(html).size(); }, 2.0);
        const double copia = medir(
            [&] {
                const QString c(html.constData(), html.size());
                sumidero += c.size();
            },
            0.3);

        const double porMib = expansion * 1000.0 / (tamano / mib);
        const double escapePorMib = escape * 1000.0 / (tamano / mib);
        const double copiaPorMib = copia * 1000.0 / (tamano / mib);
        std::printf("%-10s %16.3f %16.3f %16.4f %10.0f\n",
                    tamano < 1024 * 1024 ? qPrintable(QStringLiteral("%1 KiB").arg(tamano / 1024))
                                         : qPrintable(QStringLiteral("%1 MiB").arg(tamano / (1024 * 1024))),
                    porMib, escapePorMib, copiaPorMib, escapePorMib / copiaPorMib);
        if (sumidero == 0)
            return EXIT_FAILURE;
        if (primero == 0) {
            primero = porMib;
            primeroEscapada = escapePorMib;
        }
        ultimo = porMib;
        ultimoEscapada = escapePorMib;
    }
    std::printf(
        "per-MiB expansion time, largest / smallest template: verbatim %.2f, escaped %.2f (target within 1.5)\n",
        ultimo / primero, ultimoEscapada / primeroEscapada);
    return EXIT_SUCCESS;
}
