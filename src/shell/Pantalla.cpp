#include "shell/Pantalla.h"

#include "inbox/frmRM640.h"

#include <atomic>

namespace rm640 {

namespace {
std::atomic<int> g_vivos{0};
}

Pantalla::Pantalla(QObject* parent)
    : QObject(parent)
{
    ++g_vivos;
}

Pantalla::~Pantalla()
{
    --g_vivos;
}

QObject* Pantalla::GetPantalla() const
{
    return &frmRM640::Instancia();
}

int Pantalla::ObjetosVivos()
{
    return g_vivos.load();
}

} // namespace rm640
