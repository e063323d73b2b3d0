#include "inbox/SeleccionLote.h"

#include "host/controles/ComparacionTexto.h"
#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"

#include <QItemSelectionModel>
#include <QRegularExpression>
#include <cmath>

namespace rm640 {

namespace {

// Money reads with two decimals ("23,794.10", "$ 23794.10"); a count of
// days or pieces does not.
bool EsDinero(const QString& celda)
{
    static const QRegularExpression centavos(QStringLiteral("\\.\\d\\d\\s*$"));
    return celda.contains(centavos);
}

} // namespace

SeleccionLote SeleccionLote::De(const orvinda::ListView& lista)
{
    SeleccionLote s;
    const QModelIndexList filas = lista.selectionModel()->selectedRows();
    s.m_documentos = static_cast<int>(filas.size());
    const orvinda::ModeloLista& modelo = lista.Modelo();
    for (int c = 1; c < modelo.columnCount() && !filas.isEmpty(); ++c) {
        if (modelo.ClaseColumna(c) != orvinda::ModeloLista::Clase::Numero)
            continue;
        qint64 suma = 0;
        bool dinero = true;
        for (const QModelIndex& fila : filas) {
            const QString celda = modelo.Texto(fila.row(), c);
            double valor = 0;
            if (!EsDinero(celda) || !orvinda::ComparacionTexto::Numero(celda.toUtf8(), valor)) {
                dinero = false;
                break;
            }
            suma += std::llround(valor * 100);
        }
        if (dinero) {
            s.m_centavos = suma;
            break;
        }
    }
    return s;
}

QString SeleccionLote::Pesos(qint64 centavos)
{
    const bool negativo = centavos < 0;
    const quint64 absoluto = negativo ? quint64(-centavos) : quint64(centavos);
    QString enteros = QString::number(absoluto / 100);
    for (qsizetype i = enteros.size() - 3; i > 0; i -= 3)
        enteros.insert(i, u',');
    return (negativo ? QStringLiteral("-") : QString()) + enteros
        + QStringLiteral(".%1").arg(absoluto % 100, 2, 10, QLatin1Char('0'));
}

QString SeleccionLote::Etiqueta() const
{
    if (m_documentos == 0)
        return QString();
    const QString cuantos
        = m_documentos == 1 ? QStringLiteral("1 seleccionado") : QStringLiteral("%1 seleccionados").arg(m_documentos);
    return m_centavos ? cuantos + QStringLiteral(" · $ ") + Pesos(*m_centavos) : cuantos;
}

QString SeleccionLote::Pregunta(const QString& pestania) const
{
    // The tab's caption, "&1Requisiciones de compra": its access key and
    // number go, and the kind is named in the sentence's case.
    static const QRegularExpression acceso(QStringLiteral("^&\\d+"));
    QString clase = QString(pestania).remove(acceso).remove(u'&').trimmed();
    if (clase.size() > 1 && clase[1].isLower())
        clase[0] = clase[0].toLower();
    const QString que = m_documentos == 1 ? QStringLiteral("1 documento de %1").arg(clase)
                                          : QStringLiteral("%1 %2").arg(m_documentos).arg(clase);
    return m_centavos ? QStringLiteral("¿Autorizar %1 por $ %2?").arg(que, Pesos(*m_centavos))
                      : QStringLiteral("¿Autorizar %1?").arg(que);
}

} // namespace rm640
