#pragma once

#include "host/servicios/ObjetoServicio.h"

#include <QString>
#include <functional>

namespace orvinda {

// Prints one document in one of the shell's print formats. Printing goes on
// in the background: Imprimir returns once the document is on its way, or
// throws when it cannot start (no such format, no such document), and the
// printer may be released at once.
class Impresor : public ObjetoServicio
{
public:
    static constexpr const char* IdPrograma = "Orvinda.Impresor";

    // What became of the printing: the file written, or why not. Heard
    // once, on the thread that asked, when set before Imprimir.
    using AlTerminar = std::function<void(const QString& archivo, const QString& error)>;
    void setAlTerminar(AlTerminar alTerminar) { m_alTerminar = std::move(alTerminar); }

    // The document folio in the print format formato. extra1, the options
    // and extra2 are the suite's: unused here (the component passes an empty
    // text, 0, 0 and an empty text).
    virtual void Imprimir(const QString& formato, const QString& folio, const QString& extra1, int opcion1, int opcion2,
                          const QString& extra2)
        = 0;

protected:
    AlTerminar m_alTerminar;
};

} // namespace orvinda
