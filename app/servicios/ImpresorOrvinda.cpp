#include "servicios/ImpresorOrvinda.h"

#include "shell/Traza.h"

#include <QList>

namespace orvinda {

namespace {
QList<ImpresorOrvinda::Solicitud>& Registro()
{
    static QList<ImpresorOrvinda::Solicitud> r;
    return r;
}
} // namespace

ImpresorOrvinda::ImpresorOrvinda(Traza* traza)
    : m_traza(traza)
{
}

void ImpresorOrvinda::Imprimir(const QString& formato, const QString& folio, const QString&, int, int, const QString&)
{
    Registro().append({formato, folio});
    if (m_traza)
        m_traza->Nota(QStringLiteral("Imprimir formato=%1 folio=%2").arg(formato, folio));
}

const QList<ImpresorOrvinda::Solicitud>& ImpresorOrvinda::Solicitudes()
{
    return Registro();
}

} // namespace orvinda
