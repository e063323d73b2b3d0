#include "basedatos/FormatoDemo.h"

namespace orvinda {

QString FormatoDemo::Pesos(Centavos c)
{
    const bool negativo = c < 0;
    if (negativo)
        c = -c;
    QString enteros = QString::number(c / 100);
    for (int i = enteros.size() - 3; i > 0; i -= 3)
        enteros.insert(i, QLatin1Char(','));
    return (negativo ? QStringLiteral("-") : QString()) + enteros + QLatin1Char('.')
        + QStringLiteral("%1").arg(c % 100, 2, 10, QLatin1Char('0'));
}

QVariant FormatoDemo::Monto(Centavos c)
{
    return QVariant(double(c) / 100.0);
}

FormatoDemo::Centavos FormatoDemo::Iva(Centavos subtotal)
{
    return (subtotal * 16 + 50) / 100;
}

QString FormatoDemo::TextoFecha(const QDate& d)
{
    return d.toString(Qt::ISODate);
}

QString FormatoDemo::TextoFechaHora(const QDateTime& dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QString FormatoDemo::Celda(const QString& texto, bool numerica)
{
    return (numerica ? QStringLiteral("<td class=\"num\">") : QStringLiteral("<td>")) + texto.toHtmlEscaped()
        + QStringLiteral("</td>");
}

} // namespace orvinda
