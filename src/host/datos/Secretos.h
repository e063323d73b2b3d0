#pragma once

#include <QString>

namespace orvinda {

// What a connection string must never show.
class Secretos
{
public:
    // The text with the value of every PWD= or Password= key replaced by
    // "***": the whole value up to the next ';' or the end of its line,
    // blanks and braces included. Texts without one come back unchanged.
    static QString Ocultar(const QString& texto);

    // The connection string kept in a file that only this user may read or
    // write (--db @FILE), without its final line break; the command line
    // would show it to anyone with ps. Throws ErrorRm saying why the file is
    // refused.
    static QString LeerArchivo(const QString& ruta);
};

} // namespace orvinda
