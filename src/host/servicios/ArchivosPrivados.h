#pragma once

#include <QString>

namespace orvinda {

// The user's own files: the database, the trace, the component registry and
// the folders that hold them are readable by that user alone, whatever the
// umask; and what is loaded as code must not be changeable by anyone else.
class ArchivosPrivados
{
public:
    // Leaves an existing file at 0600.
    static void Proteger(const QString& archivo);
    // Creates the folder as needed and leaves it at 0700.
    static bool CrearCarpeta(const QString& carpeta);
    // Empty when the file belongs to this user or to root and neither group
    // nor others may write it; otherwise why it may not be trusted.
    static QString MotivoNoConfiable(const QString& ruta);
};

} // namespace orvinda
