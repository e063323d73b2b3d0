#pragma once

#include "review/AutorizacionEnLote.h"

#include <QString>

namespace rm640 {

// What a bulk run tells when it ends: how many of those asked for were
// authorized, and why the others stay pending, identical reasons together
// ("6 documentos: El campo 'PARTIDA_PRESUPUESTAL' es obligatorio…").
class ResumenLote
{
public:
    static QString Texto(const AutorizacionEnLote::Resumen& resumen, int pedidos);
    // What the status area says of the files the run printed ("6
    // documentos se guardaron en: /home/…/Documentos"); empty for none.
    static QString Impresos(const QStringList& archivos);

    // At most this many folios are named under a shared reason.
    static constexpr int FoliosNombrados = 5;
};

} // namespace rm640
