#pragma once

#include "host/errores/ErrorRm.h"
#include "host/servicios/Impresor.h"

#include <QStringList>

// The shell's printer as the component sees it: calls recorded as
// "formato|folio|e1|o1|o2|e2", the end heard at once (folio.pdf), or the
// failure asked for.
struct ImpresorGrabador : orvinda::Impresor
{
    ImpresorGrabador(QStringList& r, int& vivos, QString falla)
        : r(r)
        , vivos(++vivos)
        , falla(std::move(falla))
    {
    }
    ~ImpresorGrabador() override { --vivos; }
    void Imprimir(const QString& formato, const QString& folio, const QString& e1, int o1, int o2, const QString& e2) override
    {
        r.append(QStringLiteral("%1|%2|%3|%4|%5|%6").arg(formato, folio, e1).arg(o1).arg(o2).arg(e2));
        if (!falla.isEmpty())
            throw orvinda::ErrorRm(falla);
        if (m_alTerminar)
            m_alTerminar(folio + ".pdf", QString());
    }
    QStringList& r;
    int& vivos;
    QString falla;
};
