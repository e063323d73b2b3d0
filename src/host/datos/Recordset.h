#pragma once

#include "host/datos/Campo.h"

#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace orvinda {

// The rows of one executed statement, read forward as the forms expect:
// Eof, Fields, MoveNext, Close. The rows are fetched when the statement runs,
// so no open cursor keeps the connection busy while a transaction commits.
class Recordset
{
public:
    Recordset();
    Recordset(QStringList nombres, std::vector<QVariantList> filas);

    // ADO's EOF; the name EOF itself is a C macro.
    bool Eof() const;
    Campo Fields(const QString& nombre) const;
    Campo Fields(int indice) const;
    int FieldsCount() const;
    const QStringList& NombresCampos() const;
    void MoveNext();
    void Close();

private:
    struct Datos;
    std::shared_ptr<Datos> d;
    const Datos& Abierto() const;
};

} // namespace orvinda
