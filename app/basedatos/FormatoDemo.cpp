#include "basedatos/FormatoDemo.h"

#include <QRegularExpression>

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

QString FormatoDemo::ConsultaEnDialecto(QString sql, EsquemaBaseDatos::Dialecto dialecto)
{
    using D = EsquemaBaseDatos::Dialecto;
    struct Forma
    {
        const char* funcion;
        const char *sqlite, *postgres, *sqlServer;
    };
    // SQLite's printf separates thousands of whole numbers only: the cents
    // go apart. \1 is the column.
    static const Forma formas[] = {
        {"DINERO",
         "printf('%s%,d.%02d', CASE WHEN \\1 < 0 THEN '-' ELSE '' END, CAST(ROUND(ABS(\\1) * 100) AS INTEGER) / 100,"
         " CAST(ROUND(ABS(\\1) * 100) AS INTEGER) % 100)",
         "to_char(\\1, 'FM999,999,999,990.00')", "FORMAT(\\1, 'N2', 'en-US')"},
        {"IMPORTE", "printf('%.2f', \\1)", "to_char(\\1, 'FM999999999990.00')", "FORMAT(\\1, '0.00', 'en-US')"},
        {"FECHA_HORA", "strftime('%d/%m/%Y %H:%M', \\1)", "to_char(\\1, 'DD/MM/YYYY HH24:MI')",
         "FORMAT(\\1, 'dd/MM/yyyy HH:mm')"},
        {"FECHA", "strftime('%d/%m/%Y', \\1)", "to_char(\\1, 'DD/MM/YYYY')", "FORMAT(\\1, 'dd/MM/yyyy')"},
    };
    for (const Forma& f : formas) {
        const QRegularExpression llamada(QStringLiteral("\\b%1\\(([\\w.]+)\\)").arg(QLatin1String(f.funcion)));
        const char* forma = dialecto == D::SQLite ? f.sqlite : dialecto == D::PostgreSQL ? f.postgres : f.sqlServer;
        sql.replace(llamada, QString::fromLatin1(forma));
    }
    return sql;
}

QString FormatoDemo::Celda(const QString& texto, bool numerica)
{
    return (numerica ? QStringLiteral("<td class=\"num\">") : QStringLiteral("<td>")) + texto.toHtmlEscaped()
        + QStringLiteral("</td>");
}

} // namespace orvinda
