#pragma once

#include <QString>
#include <QVariant>

namespace orvinda {

// One column of the current row of a Recordset: its name and its value. A NULL
// stays a null QVariant; only reading it as text fails.
class Campo
{
public:
    Campo(QString nombre, QVariant valor);
    // A column of a recordset at its end: the name is there, the value is not.
    static Campo SinRegistroActual(QString nombre);

    const QString& Name() const { return m_nombre; }
    const QVariant& Value() const;
    bool EsNulo() const;

    // The value converted to text; a NULL raises ErrorRm::UsoNoValidoDeNull.
    QString Texto() const;
    // A non-NULL value as Texto gives it.
    static QString ComoTexto(const QVariant& valor);

private:
    QString m_nombre;
    QVariant m_valor;
    bool m_hayRegistro = true;
};

} // namespace orvinda
