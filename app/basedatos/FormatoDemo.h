#pragma once

#include "basedatos/CatalogoDemo.h"
#include "basedatos/EsquemaBaseDatos.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace orvinda {

// How the demo data writes money, dates and table cells into its rows and
// into the HTML of its documents.
class FormatoDemo
{
public:
    using Centavos = CatalogoDemo::Centavos;

    // "1,234.50", with thousands separators.
    static QString Pesos(Centavos c);
    // The amount as the number a money column stores.
    static QVariant Monto(Centavos c);
    // 16 % VAT, rounded to the cent.
    static Centavos Iva(Centavos subtotal);
    static QString TextoFecha(const QDate& d);
    static QString TextoFechaHora(const QDateTime& dt);
    // The demo's queries show money and dates as a person reads them,
    // written with functions of their own: DINERO(x) gives "23,794.10",
    // IMPORTE(x) "23794.10" (what a number field of a page holds), FECHA(x)
    // "06/12/2026" and FECHA_HORA(x) "06/12/2026 04:35", each of x a plain
    // column. This spells them as the database does.
    static QString ConsultaEnDialecto(QString sql, EsquemaBaseDatos::Dialecto dialecto);
    // One HTML cell, its text escaped; numeric cells align right.
    static QString Celda(const QString& texto, bool numerica = false);
};

} // namespace orvinda
