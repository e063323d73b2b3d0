#include "host/datos/Recordset.h"

#include "host/errores/ErrorRm.h"

namespace orvinda {

struct Recordset::Datos
{
    QStringList nombres;
    std::vector<QVariantList> filas;
    std::size_t actual = 0;
    bool abierto = true;
};

Recordset::Recordset()
    : d(std::make_shared<Datos>())
{
}

Recordset::Recordset(QStringList nombres, std::vector<QVariantList> filas)
    : d(std::make_shared<Datos>())
{
    d->nombres = std::move(nombres);
    d->filas = std::move(filas);
}

const Recordset::Datos& Recordset::Abierto() const
{
    if (!d->abierto)
        throw ErrorRm(QStringLiteral("No se permite la operación si el objeto está cerrado."), 3704);
    return *d;
}

bool Recordset::Eof() const
{
    const Datos& x = Abierto();
    return x.actual >= x.filas.size();
}

Campo Recordset::Fields(const QString& nombre) const
{
    const Datos& x = Abierto();
    // Column names are matched as the server does: without regard to case.
    const int i = x.nombres.indexOf(nombre, 0);
    if (i >= 0)
        return Fields(i);
    for (int k = 0; k < x.nombres.size(); ++k)
        if (x.nombres[k].compare(nombre, Qt::CaseInsensitive) == 0)
            return Fields(k);
    throw ErrorRm(
        QStringLiteral(
            "No se encontró el elemento '%1' en la colección que corresponde al nombre o al ordinal solicitado.")
            .arg(nombre),
        3265);
}

Campo Recordset::Fields(int indice) const
{
    const Datos& x = Abierto();
    if (indice < 0 || indice >= x.nombres.size())
        throw ErrorRm(
            QStringLiteral(
                "No se encontró el elemento %1 en la colección que corresponde al nombre o al ordinal solicitado.")
                .arg(indice),
            3265);
    if (x.actual >= x.filas.size())
        return Campo::SinRegistroActual(x.nombres[indice]);
    return Campo(x.nombres[indice], x.filas[x.actual].value(indice));
}

int Recordset::FieldsCount() const
{
    return static_cast<int>(Abierto().nombres.size());
}

const QStringList& Recordset::NombresCampos() const
{
    return Abierto().nombres;
}

void Recordset::MoveNext()
{
    if (Eof())
        throw ErrorRm::SinRegistroActual();
    ++d->actual;
}

void Recordset::Close()
{
    Abierto();
    d->abierto = false;
    d->filas.clear();
}

} // namespace orvinda
