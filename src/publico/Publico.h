#pragma once

#include <QString>
#include <memory>

namespace orvinda {
class Conexion;
class Sistema;
class Utilerias;
} // namespace orvinda

namespace rm640 {

// Process-wide state of the component: the shell's two service objects and
// the buffer in which each routine builds its statement before running it.
class Publico
{
public:
    static std::unique_ptr<orvinda::Sistema> Sistema;
    static std::unique_ptr<orvinda::Utilerias> Utilerias;
    static QString CadenaSql;

    // Start-up: creates Sistema, then Utilerias, from the shell's classes.
    // Nothing else: no connection is opened, no parameter read. Runs once;
    // a failure propagates and leaves the component not started.
    static void Main();
    static bool Iniciado();
    // Releases the service objects (the component is being unloaded).
    static void Terminar();

    // The shell's connection, asked for anew at each use as the forms do.
    static orvinda::Conexion& Conexion();
};

} // namespace rm640
