#include "host/datos/Secretos.h"

#include "host/datos/ArchivoVerificado.h"
#include "host/errores/ErrorRm.h"

#include <QRegularExpression>
#include <fcntl.h>

namespace orvinda {

QString Secretos::Ocultar(const QString& texto)
{
    if (!texto.contains(QLatin1String("PWD"), Qt::CaseInsensitive)
        && !texto.contains(QLatin1String("PASSWORD"), Qt::CaseInsensitive))
        return texto;
    // ODBC: a braced value may hold ';' and '}}' stands for '}'. What follows
    // a closing brace before the next ';' is still the value. A connection
    // string is one line (the shell refuses one with a line break), so a
    // line break ends the value too, and the text after it stays readable.
    static const QRegularExpression clave(
        QStringLiteral("\\b(PWD|PASSWORD)(\\s*=\\s*)(?:\\{(?:[^}]|\\}\\})*\\}?)?[^;\\r\\n]*"),
        QRegularExpression::CaseInsensitiveOption);
    QString r = texto;
    return r.replace(clave, QStringLiteral("\\1\\2***"));
}

QString Secretos::LeerArchivo(const QString& ruta)
{
    const auto rechazo = [&ruta](const QString& motivo) {
        return ErrorRm(QStringLiteral("No se usa el archivo de conexión %1: %2.").arg(ruta, motivo));
    };
    ArchivoVerificado archivo = ArchivoVerificado::Abrir(ruta, O_RDONLY, ArchivoVerificado::Uso::Secreto);
    QByteArray contenido;
    if (!archivo.Abierto() || !archivo.Leer(contenido, 64 * 1024))
        throw rechazo(archivo.Motivo());
    QString cadena = QString::fromUtf8(contenido);
    if (cadena.endsWith(u'\n'))
        cadena.chop(cadena.endsWith(QLatin1String("\r\n")) ? 2 : 1);
    if (cadena.trimmed().isEmpty())
        throw rechazo(QStringLiteral("está vacío"));
    if (cadena.contains(u'\n') || cadena.contains(u'\r'))
        throw rechazo(QStringLiteral("tiene más de una línea"));
    return cadena;
}

} // namespace orvinda
