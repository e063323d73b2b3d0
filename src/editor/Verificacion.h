#pragma once

#include <QList>
#include <QString>

namespace rm640 {

struct ConfiguracionAutorizacion;

// What a configuration will do wrong, found before a reviewer finds it: each
// notice names the editor's item and says what to do. An error makes a
// reviewer's action wrong (a statement without {FOLIO}, a field the page or
// the template query does not have, a statement that does not prepare or
// that ends a transaction); a warning is anything else. Errors come first.
class Verificacion
{
public:
    enum class Gravedad { Error, Advertencia };
    struct Aviso
    {
        QString elemento; // the editor's caption of the item
        QString mensaje;
        Gravedad gravedad = Gravedad::Advertencia;

        bool EsError() const { return gravedad == Gravedad::Error; }
        friend bool operator==(const Aviso&, const Aviso&) = default;
    };

    // The checks the texts alone can answer; touches neither the shell nor
    // the database. The template stands for the page. Guardar falls back on
    // it only when no full verdict on the same texts is at hand.
    static QList<Aviso> Textos(const ConfiguracionAutorizacion& c);
    // Every check: the queries and statements prepared without being run,
    // the listing and the template query run in a transaction rolled back,
    // the first pending document rendered. Verificar and the editor's strip
    // ask this one, and Guardar reuses their verdict.
    static QList<Aviso> Completa(const ConfiguracionAutorizacion& c);
    static qsizetype Errores(const QList<Aviso>& avisos);

    // Counts the page's elements whose id or name is nombre, as the review
    // road finds a field.
    static int ElementosLlamados(const QString& html, const QString& nombre);
    // One line per notice.
    static QString Texto(const QList<Aviso>& avisos);
    // The same, the errors under a heading of their own ahead of the
    // warnings; without errors, as Texto.
    static QString Informe(const QList<Aviso>& avisos);
    // How much of Informe's text the errors take: its first characters.
    static qsizetype ParteDeErrores(const QList<Aviso>& avisos);
};

} // namespace rm640
