#pragma once

#include "marcadores/Marcadores.h"

#include <QList>
#include <QString>
#include <optional>

namespace rm640 {

// The HTML template filled as Marcadores fills it (tokens in any case,
// columns in order, each pass over the text the earlier ones produced), but
// with every value made text for where its token stands in the page:
//   - in element text (and inside <textarea> or <title>), '&', '<' and '>'
//     are escaped;
//   - in a quoted attribute value, the quotes as well;
//   - in an unquoted attribute value, only letters, digits, '.', '-' and
//     '_' are taken, and an empty value only where the next character
//     cannot become the value;
//   - anywhere else (a comment, the text of <script>, <style> and the like,
//     a tag's name or attribute names) the value is refused with
//     ValorNoAdmitido, which names the column.
// So no value can add, remove or hide an element the template made. A value
// without '&', '<', '>', '"' and "'" comes out as Marcadores would put it.
// A column whose name ends in _HTML is markup by the author's choice and goes
// in as it is, wherever the template (or other markup) put its token.
class MarcadoresHtml
{
public:
    // Empalmar: every value goes in as it is, as it always did. Unsafe.
    enum class Modo { Escapar, Empalmar };

    static inline const QString SufijoMarcado = QStringLiteral("_HTML");
    // Whether the column's value is markup: its name ends in _HTML, in any case.
    static bool EsMarcado(const QString& columna);

    // std::nullopt: the query gave no row, and the template comes back
    // unchanged. A NULL value throws orvinda::ErrorRm::UsoNoValidoDeNull().
    static QString ExpandirPlantilla(const QString& plantilla,
                                     const std::optional<QList<ColumnaPlantilla>>& primeraFila, Modo modo);
};

} // namespace rm640
