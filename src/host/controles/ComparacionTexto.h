#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace orvinda {

// How list cells (UTF-8) are matched and ordered the way a reader expects:
// without regard to case or accents, numbers by value, dates by date.
class ComparacionTexto
{
public:
    // Lower case without accents; ASCII text is only lowered.
    static QByteArray Plegar(QByteArrayView utf8);
    static void PlegarEn(QByteArrayView utf8, QByteArray& destino);
    // "1,420.80", "$ 23794.1", "-5": false for anything else.
    static bool Numero(QByteArrayView texto, double& valor);
    // "2026-12-06", "2026-12-06 04:35[:42]", "2026-12-06T04:35:42",
    // "06/12/2026[ 04:35[:42]]" as yyyyMMddHHmmss; false for anything else.
    static bool Fecha(QByteArrayView texto, qint64& valor);
};

} // namespace orvinda
