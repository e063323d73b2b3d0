#include "host/controles/LlenadoLista.h"

#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/Twips.h"
#include "host/datos/Campo.h"

#include <QApplication>
#include <QFontMetrics>
#include <QProgressDialog>

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
    m_reloj.start();
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
        if (v.typeId() == QMetaType::QString) {
            const QString& texto = *static_cast<const QString*>(v.constData());
            m_modelo.AgregarCelda(texto);
            if (muestra)
                m_anchos[i] = std::max(m_anchos[i], QFontMetrics(m_lista.font()).horizontalAdvance(texto) + 16);
            continue;
        }
        const QString texto = Campo::ComoTexto(v);
        m_modelo.AgregarCelda(texto);
        if (muestra)
            m_anchos[i] = std::max(m_anchos[i], QFontMetrics(m_lista.font()).horizontalAdvance(texto) + 16);
    }
    m_modelo.TerminarFila();
    if (++m_filas % FilasPorConsulta == 0)
        Avanzar();
    return true;
}

void LlenadoLista::Avanzar()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    const qint64 ms = m_reloj.elapsed();
    if (ms < EsperaAvanceMs || ms - m_ultimoAvance < 100)
        return;
    m_ultimoAvance = ms;
    if (!m_avance) {
        // No total is known while rows stream in: a busy bar and a count.
        m_avance = std::make_unique<QProgressDialog>(m_lista.window());
        m_avance->setObjectName(QStringLiteral("dlgAvanceLista"));
        m_avance->setWindowTitle(QStringLiteral("Cargando"));
        m_avance->setCancelButton(nullptr);
        m_avance->setRange(0, 0);
        m_avance->setMinimumDuration(0);
        m_avance->setWindowModality(Qt::WindowModal);
        m_avance->show();
    }
    m_avance->setLabelText(QStringLiteral("Leyendo documentos: %1").arg(QLocale().toString(m_filas)));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void LlenadoLista::Terminar()
{
    if (!m_cargando)
        return;
    m_cargando = false;
    m_avance.reset();
    m_modelo.TerminarCarga();
    for (int i = 0; i < m_anchos.size(); ++i)
        m_lista.setColumnWidth(i, std::clamp(m_anchos[i], AnchoMinimo, AnchoMaximo));
    m_lista.setUpdatesEnabled(true);
    m_lista.SeleccionInicial();
}

} // namespace orvinda
