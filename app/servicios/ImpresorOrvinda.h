#pragma once

#include "host/servicios/Impresor.h"

namespace orvinda {

class Traza;

// Printing of documents in the shell's print formats. For now each request
// is recorded (and written to the trace); rendering comes with the formats.
class ImpresorOrvinda : public Impresor
{
public:
    struct Solicitud
    {
        QString formato;
        QString folio;
    };

    explicit ImpresorOrvinda(Traza* traza);

    void Imprimir(const QString& formato, const QString& folio, const QString& extra1, int opcion1, int opcion2,
                  const QString& extra2) override;

    static const QList<Solicitud>& Solicitudes();

private:
    Traza* m_traza;
};

} // namespace orvinda
