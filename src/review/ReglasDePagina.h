#pragma once

#include "host/controles/WebBrowser.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <optional>

namespace rm640 {

// What the page itself says a typed value must be: the HTML constraints of
// each field the list names (required, pattern, a number's min, max and
// step, a date, maxlength), as the browser judges them, and how to tell the
// reviewer what a field expects.
class ReglasDePagina
{
public:
    struct Incumplida
    {
        QString campo;
        QString mensaje;
    };

    // The names the field list reads from the page, once each, in its order.
    static QStringList Nombres(const QString& campos);
    // The first field of the list whose value, as the page was read,
    // breaks its element's rules. An empty field the list itself requires
    // ("*") is left to the list's own message, and a field without a single
    // element to the reading of its value.
    static std::optional<Incumplida> Primera(const orvinda::WebBrowser::Lectura& pagina, const QString& campos);

    // "El campo 'MONTO' espera un número ...", from one of the page's
    // Lectura::incumplidas.
    static QString Mensaje(const QVariantMap& incumplida);
};

} // namespace rm640
