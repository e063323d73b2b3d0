#include "review/ReglasDePagina.h"

#include "marcadores/Marcadores.h"

#include <QRegularExpression>
#include <QSet>

namespace rm640 {

namespace {

// What a step of 1, 0.1, 0.01... allows, said as a reader says it.
QString Paso(const QString& paso, const QString& minimo)
{
    static const QRegularExpression decimal(QStringLiteral("^0\\.(0*)1$"));
    if (paso.trimmed() == QLatin1String("1"))
        return QStringLiteral("espera un número entero");
    const QRegularExpressionMatch m = decimal.match(paso.trimmed());
    if (!m.hasMatch())
        return QStringLiteral("espera un valor en pasos de %1 a partir de %2")
            .arg(paso, minimo.isEmpty() ? QStringLiteral("0") : minimo);
    const qsizetype decimales = m.capturedLength(1) + 1;
    return decimales == 1 ? QStringLiteral("espera un número con un decimal como máximo")
                          : QStringLiteral("espera un número con %1 decimales como máximo").arg(decimales);
}

QString Intervalo(const QString& tipo, const QString& minimo, const QString& maximo)
{
    const bool fecha = tipo == QLatin1String("date");
    if (!minimo.isEmpty() && !maximo.isEmpty())
        return (fecha ? QStringLiteral("espera una fecha del %1 al %2")
                      : QStringLiteral("espera un valor entre %1 y %2"))
            .arg(minimo, maximo);
    if (!minimo.isEmpty())
        return (fecha ? QStringLiteral("espera una fecha del %1 en adelante")
                      : QStringLiteral("espera un valor de %1 o más"))
            .arg(minimo);
    return (fecha ? QStringLiteral("espera una fecha hasta el %1") : QStringLiteral("espera un valor de %1 o menos"))
        .arg(maximo);
}

} // namespace

QStringList ReglasDePagina::Nombres(const QString& campos)
{
    QStringList nombres;
    for (const CampoAutorizar& campo : Marcadores::LeerListaCampos(campos))
        if (!campo.nombre.isEmpty() && !nombres.contains(campo.nombre))
            nombres.append(campo.nombre);
    return nombres;
}

std::optional<ReglasDePagina::Incumplida> ReglasDePagina::Primera(const orvinda::WebBrowser::Lectura& pagina,
                                                                  const QString& campos)
{
    QSet<QString> obligatorios;
    for (const CampoAutorizar& campo : Marcadores::LeerListaCampos(campos))
        if (campo.obligatorio)
            obligatorios.insert(campo.nombre);
    for (const QVariant& v : pagina.incumplidas) {
        const QVariantMap incumplida = v.toMap();
        const QString campo = incumplida.value(QStringLiteral("nombre")).toString();
        if (incumplida.value(QStringLiteral("regla")) == QLatin1String("valueMissing") && obligatorios.contains(campo))
            continue;
        return Incumplida{campo, Mensaje(incumplida)};
    }
    return std::nullopt;
}

QString ReglasDePagina::Mensaje(const QVariantMap& incumplida)
{
    const auto dato = [&incumplida](const char* clave) { return incumplida.value(QLatin1String(clave)).toString(); };
    const QString regla = dato("regla"), tipo = dato("type");
    QString espera;
    if (regla == QLatin1String("badInput"))
        espera = tipo == QLatin1String("number")
            ? QStringLiteral("espera un número, como 1234.56: sin separadores de miles, letras ni espacios")
            : tipo == QLatin1String("date") ? QStringLiteral("espera una fecha válida")
                                            : QStringLiteral("no tiene un valor válido");
    else if (regla == QLatin1String("typeMismatch"))
        espera = tipo == QLatin1String("email") ? QStringLiteral("espera una dirección de correo electrónico")
            : tipo == QLatin1String("url")      ? QStringLiteral("espera una dirección web completa")
                                                : QStringLiteral("espera un valor de tipo %1").arg(tipo);
    else if (regla == QLatin1String("patternMismatch"))
        espera = dato("title").isEmpty() ? QStringLiteral("espera un valor con el patrón %1").arg(dato("pattern"))
                                         : QStringLiteral("espera %1").arg(dato("title"));
    else if (regla == QLatin1String("rangeUnderflow") || regla == QLatin1String("rangeOverflow"))
        espera = Intervalo(tipo, dato("min"), dato("max"));
    else if (regla == QLatin1String("stepMismatch"))
        espera = Paso(dato("step"), dato("min"));
    else if (regla == QLatin1String("tooLong"))
        espera = QStringLiteral("admite %1 caracteres como máximo y tiene %2").arg(dato("maxlength"), dato("longitud"));
    else if (regla == QLatin1String("tooShort"))
        espera = QStringLiteral("pide al menos %1 caracteres y tiene %2").arg(dato("minlength"), dato("longitud"));
    else
        espera = QStringLiteral("es obligatorio en la página y está vacío");
    return QStringLiteral("El campo '%1' %2. Corríjalo y vuelva a intentarlo.").arg(dato("nombre"), espera);
}

} // namespace rm640
