#include "host/controles/LlenadoLista.h"

#include "host/controles/AvanceCarga.h"
#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/Twips.h"
#include "host/datos/Campo.h"

#include <QFontMetrics>
#include <charconv>
#include <cmath>

namespace orvinda {

namespace {

// Columns as wide as their header and the first rows need, within reason.
constexpr int FilasMuestra = 100;
constexpr int AnchoMinimo = 64;
constexpr int AnchoMaximo = 320;
// The clock is read once per this many rows.
constexpr int FilasPorConsulta = 1024;

} // namespace

LlenadoLista::LlenadoLista(ListView& lista)
    : m_lista(lista)
    , m_modelo(lista.Modelo())
{
    m_regional.setNumberOptions(QLocale::OmitGroupSeparator);
    m_formatoSimple = m_regional.decimalPoint() == u"." && m_regional.negativeSign() == u"-"
        && m_regional.positiveSign() == u"+" && m_regional.exponential() == u"e" && m_regional.zeroDigit() == u"0";
    m_avance = AvanceCarga::TandaAbierta();
    if (!m_avance) {
        m_propio = std::make_unique<AvanceCarga>(&lista, false);
        m_avance = m_propio.get();
    }
}

LlenadoLista::~LlenadoLista()
{
    Terminar();
}

void LlenadoLista::Columnas(const QStringList& nombres)
{
    m_nombres = nombres;
    const QFontMetrics fm(m_lista.font());
    for (const QString& n : nombres)
        m_anchos.append(fm.horizontalAdvance(n) + 24);
    m_masLargo.resize(nombres.size());
    m_lista.setUpdatesEnabled(false);
    m_lista.ColumnHeadersClear();
    for (const QString& n : nombres)
        m_modelo.AgregarColumna(n);
    m_modelo.ComenzarCarga();
    m_cargando = true;
}

bool LlenadoLista::Fila(const QVariant* valores, int cuantos)
{
    const bool muestra = m_filas < FilasMuestra;
    for (int i = 0; i < cuantos; ++i) {
        const QVariant& v = valores[i];
        if (v.isNull()) {
            m_modelo.AgregarCeldaUtf8({});
            continue;
        }
        // The common kinds without a temporary text; the rest as Campo reads them.
        switch (v.typeId()) {
        case QMetaType::QString: {
            const QString& texto = *static_cast<const QString*>(v.constData());
            m_modelo.AgregarCelda(texto);
            if (muestra)
                Medir(i, texto);
            continue;
        }
        case QMetaType::LongLong:
        case QMetaType::Int: {
            char cifras[24];
            const auto fin = std::to_chars(cifras, cifras + sizeof cifras, v.toLongLong()).ptr;
            m_modelo.AgregarCeldaUtf8(QByteArrayView(cifras, fin - cifras));
            break;
        }
        case QMetaType::Double: {
            const double d = v.toDouble();
            if (m_formatoSimple && std::isfinite(d)) {
                // Where the region writes numbers as C does, the same 15 digits
                // without going through QLocale (zero has no sign there).
                char cifras[32];
                const auto fin
                    = std::to_chars(cifras, cifras + sizeof cifras, d == 0 ? 0.0 : d, std::chars_format::general, 15)
                          .ptr;
                m_modelo.AgregarCeldaUtf8(QByteArrayView(cifras, fin - cifras));
            } else {
                m_modelo.AgregarCelda(m_regional.toString(d, 'g', 15));
            }
            break;
        }
        default: m_modelo.AgregarCelda(Campo::ComoTexto(v)); break;
        }
        if (muestra)
            Medir(i, QString::fromUtf8(m_modelo.UltimaCelda()));
    }
    m_modelo.TerminarFila();
    if (++m_filas % FilasPorConsulta == 0)
        m_avance->Sumar(FilasPorConsulta);
    return true;
}

void LlenadoLista::Medir(int columna, const QString& texto)
{
    // Text is measured once per column, at the end: only the longest seen.
    if (texto.size() > m_masLargo[columna].size())
        m_masLargo[columna] = texto;
}

void LlenadoLista::Terminar()
{
    if (!m_cargando)
        return;
    m_cargando = false;
    m_propio.reset();
    m_modelo.TerminarCarga();
    const QFontMetrics fm(m_lista.font());
    for (int i = 0; i < m_anchos.size(); ++i) {
        const int ancho = std::max(m_anchos[i], fm.horizontalAdvance(m_masLargo[i]) + 16);
        m_lista.setColumnWidth(i, std::clamp(ancho, AnchoMinimo, AnchoMaximo));
    }
    m_lista.setUpdatesEnabled(true);
    m_lista.SeleccionInicial();
}

} // namespace orvinda
