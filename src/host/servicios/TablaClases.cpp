#include "host/servicios/TablaClases.h"

#include "host/errores/ErrorRm.h"

#include <QHash>
#include <mutex>

namespace orvinda {

ObjetoServicio::~ObjetoServicio() = default;

namespace {

std::mutex& Cerrojo()
{
    static std::mutex m;
    return m;
}

QHash<QString, TablaClases::Creador>& Clases()
{
    static QHash<QString, TablaClases::Creador> clases;
    return clases;
}

} // namespace

void TablaClases::Registrar(const QString& idPrograma, Creador creador)
{
    std::lock_guard<std::mutex> l(Cerrojo());
    Clases().insert(idPrograma, std::move(creador));
}

void TablaClases::Retirar(const QString& idPrograma)
{
    std::lock_guard<std::mutex> l(Cerrojo());
    Clases().remove(idPrograma);
}

void TablaClases::RetirarTodas()
{
    std::lock_guard<std::mutex> l(Cerrojo());
    Clases().clear();
}

bool TablaClases::Registrada(const QString& idPrograma)
{
    std::lock_guard<std::mutex> l(Cerrojo());
    return Clases().contains(idPrograma);
}

std::unique_ptr<ObjetoServicio> TablaClases::CrearObjeto(const QString& idPrograma)
{
    Creador creador;
    {
        std::lock_guard<std::mutex> l(Cerrojo());
        creador = Clases().value(idPrograma);
    }
    if (!creador)
        throw ErrorRm(
            QStringLiteral("El componente no puede crear el objeto: la clase '%1' no está registrada.").arg(idPrograma),
            429);
    std::unique_ptr<ObjetoServicio> objeto = creador();
    if (!objeto)
        throw ErrorRm(QStringLiteral("El componente no puede crear el objeto '%1'.").arg(idPrograma), 429);
    return objeto;
}

void TablaClases::NoAdmiteInterfaz(const QString& idPrograma)
{
    throw ErrorRm(QStringLiteral("El objeto '%1' no admite la interfaz solicitada.").arg(idPrograma), 430);
}

} // namespace orvinda
