#pragma once

#include <QApplication>
#include <memory>

namespace orvinda {
class Conexion;
class Mensajero;
} // namespace orvinda

// The application of a benchmark that shows documents: the browser engine
// and the shell's page scheme set up as the shell sets them up, and the
// engine's sandbox off when run as root.
class AplicacionBench : public QApplication
{
public:
    AplicacionBench(int& argc, char** argv);

    // The shell's system and utilities over conexion, for the demo's level 4
    // operator of GCOMPRAS.
    static void RegistrarServicios(orvinda::Conexion& conexion, orvinda::Mensajero& mensajero);
    // The demo database made in archivo, the services registered over it.
    static std::unique_ptr<orvinda::Conexion> AbrirDemo(const QString& archivo, orvinda::Mensajero& mensajero);

private:
    static int& Preparar(int& argc);
};
