#pragma once

#include "host/errores/ErrorRm.h"

#include <QVector>

namespace orvinda {

// A control array of a form: elements by index, as the forms load them.
class MatrizControles
{
public:
    // The loaded element at indice; an index with no element raises the
    // error of a control array.
    template <typename Control>
    static Control& Elemento(const QVector<Control*>& matriz, int indice)
    {
        if (indice < 0 || indice >= matriz.size() || !matriz[indice])
            throw ErrorRm(QStringLiteral("El elemento %1 de la matriz de controles no existe").arg(indice), 340);
        return *matriz[indice];
    }
};

} // namespace orvinda
