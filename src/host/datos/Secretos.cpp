#include "host/datos/Secretos.h"

#include <QRegularExpression>

namespace orvinda {

QString Secretos::Ocultar(const QString& texto)
{
    if (!texto.contains(QLatin1String("PWD"), Qt::CaseInsensitive)
        && !texto.contains(QLatin1String("PASSWORD"), Qt::CaseInsensitive))
        return texto;
    // ODBC: a braced value may hold ';' and '}}' stands for '}'.
    static const QRegularExpression clave(
        QStringLiteral("\\b(PWD|PASSWORD)(\\s*=\\s*)(\\{(?:[^}]|\\}\\})*\\}?|[^;\\s]*)"),
        QRegularExpression::CaseInsensitiveOption);
    QString r = texto;
    return r.replace(clave, QStringLiteral("\\1\\2***"));
}

} // namespace orvinda
