#pragma once

#include <QList>
#include <QString>

namespace rm640 {

struct ConfiguracionAutorizacion;

// What a configuration will do wrong, found before a reviewer finds it: each
// notice names the editor's item and says what to do. It never decides
// whether a save goes ahead.
class Verificacion
{
public:
    struct Aviso
    {
        QString elemento; // the editor's caption of the item
        QString mensaje;

        friend bool operator==(const Aviso&, const Aviso&) = default;
    };

    // The checks the texts alone can answer; touches neither the shell nor
    // the database, so it may run on every change.
    static QList<Aviso> Textos(const ConfiguracionAutorizacion& c);
    // Every check: the queries and statements prepared without being run,
    // the listing and the template query run in a transaction rolled back,
    // the first pending document rendered.
    static QList<Aviso> Completa(const ConfiguracionAutorizacion& c);

    // Counts the page's elements whose id or name is nombre, as the review
    // road finds a field.
    static int ElementosLlamados(const QString& html, const QString& nombre);
    // One line per notice.
    static QString Texto(const QList<Aviso>& avisos);
};

} // namespace rm640
