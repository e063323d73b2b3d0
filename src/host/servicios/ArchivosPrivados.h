#pragma once

#include <QString>

namespace orvinda {

// The folders that hold the user's own files (the database, the trace, the
// component registry) are readable by that user alone, whatever the umask.
// The files themselves are opened through ArchivoVerificado.
class ArchivosPrivados
{
public:
    // Creates the folder as needed, the last one 0700. An existing folder is
    // made 0700 only when propia (one of the shell's own, which it names
    // itself): a folder the user named may be shared, /tmp or a project's.
    // Empty when done, else why not ("el disco está lleno"...).
    static QString CrearCarpeta(const QString& carpeta, bool propia = false);
};

} // namespace orvinda
