#include "host/datos/CeldasListado.h"

#include "host/datos/Campo.h"

#include <QVariant>
#include <charconv>
#include <cmath>

namespace orvinda {

CeldasListado::CeldasListado(Entregar entregar)
    : m_entregar(std::move(entregar))
{
    m_regional.setNumberOptions(QLocale::OmitGroupSeparator);
    m_formatoSimple = m_regional.decimalPoint() == u"." && m_regional.negativeSign() == u"-"
        && m_regional.positiveSign() == u"+" && m_regional.exponential() == u"e" && m_regional.zeroDigit() == u"0";
    m_texto.reserve(1 << 16);
}

void CeldasListado::Texto(const char* utf8, qsizetype bytes)
{
    m_texto.append(utf8, bytes);
    Cerrar();
}

void CeldasListado::Texto(const QString& texto)
{
    m_texto.append(texto.toUtf8());
    Cerrar();
}

void CeldasListado::Entero(qint64 n)
{
    char cifras[24];
    const auto fin = std::to_chars(cifras, cifras + sizeof cifras, n).ptr;
    Texto(cifras, fin - cifras);
}

void CeldasListado::Real(double d)
{
    if (m_formatoSimple && std::isfinite(d)) {
        // Where the region writes numbers as C does, the same 15 digits
        // without going through QLocale (zero has no sign there).
        char cifras[32];
        const auto fin
            = std::to_chars(cifras, cifras + sizeof cifras, d == 0 ? 0.0 : d, std::chars_format::general, 15).ptr;
        Texto(cifras, fin - cifras);
        return;
    }
    Texto(m_regional.toString(d, 'g', 15));
}

void CeldasListado::Valor(const QVariant& v)
{
    if (v.isNull())
        return Nulo();
    switch (v.typeId()) {
    case QMetaType::QString: return Texto(*static_cast<const QString*>(v.constData()));
    case QMetaType::LongLong:
    case QMetaType::Int: return Entero(v.toLongLong());
    case QMetaType::Double: return Real(v.toDouble());
    default: return Texto(Campo::ComoTexto(v));
    }
}

void CeldasListado::FinFila(int columnas)
{
    if (columnas > 0 && m_fines.size() / columnas >= FilasPorBloque)
        Terminar();
}

void CeldasListado::Terminar()
{
    if (m_fines.isEmpty())
        return;
    m_entregar(m_texto, m_fines);
    m_texto.clear();
    m_fines.clear();
}

} // namespace orvinda
