#pragma once

#include <QStringList>
#include <QVariant>

namespace orvinda {

// Takes the rows of a query as the driver hands them over, one at a time,
// so a long listing is never held twice (once as rows, once where it goes).
class LectorFilas
{
public:
    virtual ~LectorFilas() = default;
    // Before the first row, with the result's column names.
    virtual void Columnas(const QStringList& nombres) = 0;
    // One row, its values in column order; false stops the read there.
    virtual bool Fila(const QVariant* valores, int cuantos) = 0;
};

} // namespace orvinda
