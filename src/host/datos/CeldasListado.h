#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <functional>

class QVariant;

namespace orvinda {

// The rows of a listing as a list stores them: each value as the UTF-8 text
// a list shows (numbers in the operator's regional format without group
// separators, as Campo::Texto writes them), handed over in blocks of whole
// rows.
class CeldasListado
{
public:
    static constexpr int FilasPorBloque = 4096;
    using Entregar = std::function<void(const QByteArray& texto, const QList<quint32>& fines)>;

    explicit CeldasListado(Entregar entregar);

    void Texto(const char* utf8, qsizetype bytes);
    void Texto(const QString& texto);
    void Nulo() { Texto(nullptr, 0); }
    void Entero(qint64 n);
    void Real(double d);
    // A value as a Qt driver gives it.
    void Valor(const QVariant& v);

    // After the last value of a row of columnas values: hands a full block over.
    void FinFila(int columnas);
    // Hands over what is left.
    void Terminar();

private:
    void Cerrar() { m_fines.append(static_cast<quint32>(m_texto.size())); }

    Entregar m_entregar;
    QLocale m_regional;
    bool m_formatoSimple = false;
    QByteArray m_texto;
    QList<quint32> m_fines;
};

} // namespace orvinda
