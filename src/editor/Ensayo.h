#pragma once

#include "config/ConfiguracionAutorizacion.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace rm640 {

// A rehearsal of a configuration as the editor holds it, saved or not: its
// pending folios, a document rendered as the review dialog renders it, and
// its two statements expanded as the review road expands them. Every
// statement runs inside a transaction that is always rolled back, and
// nothing is commented or printed.
class Ensayo
{
public:
    using ValorDe = std::function<QString(const QString& campo)>;

    struct Resultado
    {
        QString sentencia; // as expanded; empty when the expansion stopped
        int filas = -1; // rows the statement changed; -1 when it did not run
        int limite = 1; // rows one document's decision may change; beyond it the review undoes it
        QString tabla; // the table the statement changes, as it names it
        QString error; // the database's description, or why the expansion stopped
        std::optional<QString> comentario; // what the comment hook would receive
        QString formato; // the print format a successful authorization would use; empty when it would not stand
    };

    static constexpr int MaximoFolios = 200;

    explicit Ensayo(ConfiguracionAutorizacion configuracion);

    // The first folios of the listing query. Throws the database's error.
    QStringList Folios() const;
    // The document of folio as the reviewer would see it, and who asked
    // for it when the template query says so. Throws.
    QString Renderizar(const QString& folio, QString* solicitante = nullptr) const;
    // The authorization, with the page's values as the reviewer left them.
    Resultado Autorizar(const QString& folio, const ValorDe& valorDe) const;
    Resultado Rechazar(const QString& folio) const;

private:
    ConfiguracionAutorizacion m_c;
};

} // namespace rm640
