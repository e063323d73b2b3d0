#pragma once

#include <QString>
#include <memory>

class QObject;

namespace orvinda {

// Creates a component's object from its programmatic identifier: registry
// lookup, library load, DllGetClassObject, CreateInstance. The libraries stay
// loaded until LiberarBibliotecasSinUso finds them idle.
class CargadorComponentes
{
public:
    // Throws ErrorRm naming what failed: unknown identifier, missing library,
    // missing export, class not available, creation failure.
    static std::unique_ptr<QObject> CrearObjeto(const QString& idPrograma);

    // Loads a library and runs its DllRegisterServer.
    static void RegistrarBiblioteca(const QString& biblioteca);

    // The version a library was built as, read from its file after the checks
    // a load makes, without loading it; empty when it names none.
    static QString Version(const QString& biblioteca);

    // Unloads the libraries whose DllCanUnloadNow answers S_OK; returns how many.
    static int LiberarBibliotecasSinUso();
};

} // namespace orvinda
