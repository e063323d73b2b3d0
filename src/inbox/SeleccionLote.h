#pragma once

#include <QString>
#include <optional>

namespace orvinda {
class ListView;
}

namespace rm640 {

// What "Autorizar seleccionados" would act on: how many documents of a
// list are selected and, when the list has a money column (numbers with
// cents), what they add up to.
class SeleccionLote
{
public:
    static SeleccionLote De(const orvinda::ListView& lista);

    int Documentos() const { return m_documentos; }
    // The sum in cents of the first money column; none without one.
    std::optional<qint64> Centavos() const { return m_centavos; }

    // "3 seleccionados · $ 286,213.70"; empty when nothing is selected.
    QString Etiqueta() const;
    // "¿Autorizar 3 requisiciones de compra por $ 286,213.70?", the kind
    // taken from the tab's caption ("&1Requisiciones de compra").
    QString Pregunta(const QString& pestania) const;

    // "286,213.70" for 28621370.
    static QString Pesos(qint64 centavos);

private:
    int m_documentos = 0;
    std::optional<qint64> m_centavos;
};

} // namespace rm640
