#pragma once

#include <QString>

namespace orvinda {

// How the shell's own statements quote what it is given: names are checked,
// values are escaped. (The component's statements are its own business.)
class TextoSql
{
public:
    // 'texto' with every apostrophe doubled.
    static QString Literal(const QString& texto);
    // The name itself when it is a plain identifier; ErrorRm otherwise.
    static QString Identificador(const QString& nombre);
};

} // namespace orvinda
