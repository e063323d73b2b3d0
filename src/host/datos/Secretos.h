#pragma once

#include <QString>

namespace orvinda {

// What a connection string must never show.
class Secretos
{
public:
    // The text with the value of every PWD= or Password= key (plain or in
    // braces) replaced by "***". Texts without one come back unchanged.
    static QString Ocultar(const QString& texto);
};

} // namespace orvinda
