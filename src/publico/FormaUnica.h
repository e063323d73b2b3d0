#pragma once

#include <QPointer>

namespace rm640 {

// The single shared instance that each form of the component has: made on
// first use, gone when it is deleted (unloaded) or its owner deletes it, made
// anew on the next use.
template <typename Forma>
class FormaUnica
{
public:
    // crear makes the form when there is none; the form's own static member
    // passes it, since only the form may call its constructor.
    template <typename Crear>
    static Forma& Obtener(Crear crear)
    {
        if (!s_forma)
            s_forma = crear();
        return *s_forma;
    }
    static bool Existe() { return !s_forma.isNull(); }
    static void Descargar() { delete s_forma.data(); }

private:
    inline static QPointer<Forma> s_forma;
};

} // namespace rm640
