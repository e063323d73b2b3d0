#pragma once

#include "host/servicios/ObjetoServicio.h"

#include <QString>
#include <functional>
#include <memory>

namespace orvinda {

// The process's table of the shell's creatable classes, by programmatic
// identifier. The shell registers its service classes here before it creates
// a component; the component creates what it needs by name, never by type,
// just as a component would ask the system for a registered class.
class TablaClases
{
public:
    using Creador = std::function<std::unique_ptr<ObjetoServicio>()>;

    static void Registrar(const QString& idPrograma, Creador creador);
    static void Retirar(const QString& idPrograma);
    static void RetirarTodas();
    static bool Registrada(const QString& idPrograma);

    // Throws ErrorRm when the class is not registered or its creation fails.
    static std::unique_ptr<ObjetoServicio> CrearObjeto(const QString& idPrograma);

    template <typename Interfaz>
    static std::unique_ptr<Interfaz> Crear(const QString& idPrograma = QString::fromLatin1(Interfaz::IdPrograma))
    {
        std::unique_ptr<ObjetoServicio> objeto = CrearObjeto(idPrograma);
        auto* tipado = dynamic_cast<Interfaz*>(objeto.get());
        if (!tipado)
            NoAdmiteInterfaz(idPrograma);
        objeto.release();
        return std::unique_ptr<Interfaz>(tipado);
    }

private:
    [[noreturn]] static void NoAdmiteInterfaz(const QString& idPrograma);
};

} // namespace orvinda
