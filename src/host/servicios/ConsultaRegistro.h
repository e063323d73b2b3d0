#pragma once

#include "host/servicios/ObjetoServicio.h"

#include <QString>

namespace orvinda {

// The shell's own read-only view of one record.
class ConsultaRegistro : public ObjetoServicio
{
public:
    static constexpr const char* IdPrograma = "Orvinda.ConsultaRegistro";

    virtual void MostrarRegistro(const QString& tabla, const QString& columnaClave, const QString& valorClave,
                                 const QString& extra1, const QString& extra2, const QString& extra3,
                                 const QString& extra4)
        = 0;
};

} // namespace orvinda
