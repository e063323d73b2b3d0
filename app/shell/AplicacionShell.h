#pragma once

#include "shell/OpcionesShell.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace orvinda {

class Conexion;
class Mensajero;
class Traza;
class VentanaContenedora;

// The desktop shell: opens the database (creating the demo one on a first
// start), registers its service classes and the component, creates the
// screen by its programmatic identifier and shows it in its window.
class AplicacionShell : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* IdPantalla = "RM640.Pantalla";

    explicit AplicacionShell(OpcionesShell opciones, QObject* parent = nullptr);
    ~AplicacionShell() override;

    // Runs what the options ask for up to the shown screen. Returns the exit
    // code when the shell must end now (an error, or --crear-demo), or -1
    // when the event loop should run.
    int Iniciar();

    // The default database of this user, created with the demo data when missing.
    static QString BaseDatosPorOmision();
    static QString BibliotecaIncluida();

    Conexion* ObtenerConexion() const { return m_conexion.get(); }
    VentanaContenedora* Ventana() const;

private:
    void RegistrarClases();
    void AsegurarComponente();
    void AbrirPantalla();
    void EsperarPantallaLlena(QObject& forma);
    Q_INVOKABLE void Capturar();
    int Fallar(const QString& mensaje, const QString& idError);

    OpcionesShell m_opciones;
    std::unique_ptr<Traza> m_traza;
    std::unique_ptr<Mensajero> m_mensajero;
    std::unique_ptr<Conexion> m_conexion;
    std::unique_ptr<QObject> m_pantalla;
    QPointer<VentanaContenedora> m_ventana;
};

} // namespace orvinda
