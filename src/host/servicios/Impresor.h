#pragma once

#include "host/servicios/ObjetoServicio.h"

#include <QString>

namespace orvinda {

// Prints one document in one of the shell's print formats.
class Impresor : public ObjetoServicio
{
public:
    static constexpr const char* IdPrograma = "Orvinda.Impresor";

    virtual void Imprimir(const QString& formato, const QString& folio, const QString& extra1, int opcion1, int opcion2,
                          const QString& extra2)
        = 0;
};

} // namespace orvinda
