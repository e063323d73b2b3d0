#pragma once

#include <QString>
#include <QStringList>

namespace orvinda {

class Conexion;

// What the shell checks at start, before anything fails in the middle of
// the work: each check throws ErrorRm with words that say what is wrong and
// name the file.
class VerificacionInicio
{
public:
    // Before opening a SQLite destination: an empty file, or something that
    // is not a file (/dev/null), is no database.
    static void ArchivoBaseDatos(const QString& destino);
    // After opening: the shell's own tables are there.
    static void Tablas(Conexion& conexion, const QString& destino);
    // The component registry can be read and is not damaged; with
    // escribir, it can also be written.
    static void Registro(bool escribir);
    // Before any window system is touched: why no window can open (no
    // display for the platform Qt would use, where Qt itself would abort),
    // or empty when one can.
    static QString SinPantalla(const QStringList& argumentos);
};

} // namespace orvinda
