#include "host/controles/LlenadoLista.h"

#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/datos/LecturaListado.h"
#include "host/errores/ErrorRm.h"

#include <QFontMetrics>
#include <QStyle>

namespace orvinda {

namespace {

// Columns as wide as their header and the first rows need, within reason.
constexpr int FilasMuestra = 100;
constexpr int AnchoMinimo = 64;
constexpr int AnchoMaximo = 320;

} // namespace

LlenadoLista::LlenadoLista(ListView& lista, std::unique_ptr<LecturaListado> lectura)
    : QObject(&lista)
    , m_lista(lista)
    , m_modelo(lista.Modelo())
    , m_lectura(std::move(lectura))
{
    m_reloj.start();
    m_modelo.ComenzarCarga();
    connect(m_lectura.get(), &LecturaListado::Columnas, this, &LlenadoLista::AlRecibirColumnas);
    connect(m_lectura.get(), &LecturaListado::Filas, this, &LlenadoLista::AlRecibirFilas);
    connect(m_lectura.get(), &LecturaListado::Fin, this, [this](const QString& error) { Terminar(error, false); });
}

LlenadoLista::~LlenadoLista()
{
    m_lectura.reset();
    if (!m_terminado)
        m_modelo.TerminarCarga();
}

void LlenadoLista::Cancelar()
{
    m_lectura->Cancelar();
    Terminar(QString(), true);
}

void LlenadoLista::AlRecibirColumnas(const QStringList& nombres)
{
    m_columnas = static_cast<int>(nombres.size());
    const QFontMetrics fm(m_lista.font());
    m_anchos.clear();
    for (const QString& n : nombres)
        m_anchos.append(fm.horizontalAdvance(n) + 24);
    m_masLargo = QStringList(nombres.size());
    m_lista.ColumnHeadersClear();
    for (const QString& n : nombres)
        m_modelo.AgregarColumna(n);
}

void LlenadoLista::AlRecibirFilas(const QByteArray& texto, const QList<quint32>& fines)
{
    if (m_terminado || m_columnas == 0)
        return;
    try {
        m_modelo.AgregarBloque(texto, fines, m_columnas);
    } catch (const ErrorRm& e) {
        m_lectura->Cancelar();
        Terminar(e.Descripcion(), false);
        return;
    }
    const qint64 filas = fines.size() / m_columnas;
    // Text is measured once per column, at the end: only the longest seen.
    for (qint64 f = 0; f < filas && m_filas + f < FilasMuestra; ++f) {
        for (int c = 0; c < m_columnas; ++c) {
            const qsizetype k = f * m_columnas + c;
            const quint32 inicio = k == 0 ? 0 : fines[k - 1];
            const QString celda = QString::fromUtf8(texto.constData() + inicio, fines[k] - inicio);
            if (celda.size() > m_masLargo[c].size())
                m_masLargo[c] = celda;
        }
    }
    m_filas += filas;
    m_lista.AvanceLlenado(m_filas);
}

void LlenadoLista::Terminar(const QString& error, bool cancelado)
{
    if (m_terminado)
        return;
    m_terminado = true;
    m_modelo.TerminarCarga();
    const QFontMetrics fm(m_lista.font());
    // The first column also makes room for the sign of a marked or new row.
    const int signo = m_lista.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &m_lista) + 6;
    for (int i = 0; i < m_anchos.size(); ++i) {
        const int ancho = std::max(m_anchos[i], fm.horizontalAdvance(m_masLargo[i]) + 16 + (i == 0 ? signo : 0));
        m_lista.setColumnWidth(i, std::clamp(ancho, AnchoMinimo, AnchoMaximo + (i == 0 ? signo : 0)));
    }
    m_lista.SeleccionInicial();
    emit Terminado(error, cancelado);
}

} // namespace orvinda
