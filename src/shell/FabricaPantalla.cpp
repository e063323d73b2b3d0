#include "shell/FabricaPantalla.h"

#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "shell/Pantalla.h"

namespace rm640 {

FabricaPantalla& FabricaPantalla::Instancia()
{
    static FabricaPantalla f;
    return f;
}

QObject* FabricaPantalla::CrearInstancia()
{
    // The first object of the process starts the component up; a start-up
    // failure reaches the caller as an exception.
    Publico::Main();
    return new Pantalla();
}

void FabricaPantalla::AddRef()
{
    ++m_referencias;
}

void FabricaPantalla::Release()
{
    --m_referencias;
}

bool FabricaPantalla::PuedeDescargarse() const
{
    return m_referencias.load() <= 0 && Pantalla::ObjetosVivos() == 0 && !frmRM640::ExisteInstancia();
}

} // namespace rm640
