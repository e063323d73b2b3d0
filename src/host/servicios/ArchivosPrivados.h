#pragma once

#include <QString>

namespace orvinda {

// The folders that hold the user's own files (the database, the trace, the
// component registry) are readable by that user alone, whatever the umask.
// The files themselves are opened through ArchivoVerificado.
class ArchivosPrivados
{
public:
    // Creates the folder as needed and leaves it at 0700 when it is this
    // user's own. Empty when done, else why not ("el disco está lleno"...).
    static QString CrearCarpeta(const QString& carpeta);
};

} // namespace orvinda
