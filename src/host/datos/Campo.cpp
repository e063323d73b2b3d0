#include "host/datos/Campo.h"

#include "host/errores/ErrorRm.h"

#include <QDateTime>
#include <QLocale>

namespace orvinda {

Campo::Campo(QString nombre, QVariant valor)
    : m_nombre(std::move(nombre))
    , m_valor(std::move(valor))
{
}

Campo Campo::SinRegistroActual(QString nombre)
{
    Campo c(std::move(nombre), QVariant());
    c.m_hayRegistro = false;
    return c;
}

const QVariant& Campo::Value() const
{
    if (!m_hayRegistro)
        throw ErrorRm::SinRegistroActual();
    return m_valor;
}

bool Campo::EsNulo() const
{
    return !Value().isValid() || m_valor.isNull();
}

QString Campo::Texto() const
{
    if (EsNulo())
        throw ErrorRm::UsoNoValidoDeNull();
    return ComoTexto(m_valor);
}

QString Campo::ComoTexto(const QVariant& valor)
{
    // Numbers and dates in the operator's regional format, as a desktop user
    // reads them; like any plain conversion to text, without group separators.
    switch (valor.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        QLocale regional;
        regional.setNumberOptions(QLocale::OmitGroupSeparator);
        return regional.toString(valor.toDouble(), 'g', 15);
    }
    case QMetaType::QDateTime: return QLocale().toString(valor.toDateTime(), QLocale::ShortFormat);
    case QMetaType::QDate: return QLocale().toString(valor.toDate(), QLocale::ShortFormat);
    default: return valor.toString();
    }
}

} // namespace orvinda
