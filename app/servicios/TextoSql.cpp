#include "servicios/TextoSql.h"

#include "host/errores/ErrorRm.h"

#include <QRegularExpression>

namespace orvinda {

QString TextoSql::Literal(const QString& texto)
{
    QString r = texto;
    r.replace(u'\'', QLatin1String("''"));
    return u'\'' + r + u'\'';
}

QString TextoSql::Identificador(const QString& nombre)
{
    static const QRegularExpression valido(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!valido.match(nombre).hasMatch())
        throw ErrorRm(QStringLiteral("Nombre de tabla o columna no válido: '%1'").arg(nombre));
    return nombre;
}

} // namespace orvinda
