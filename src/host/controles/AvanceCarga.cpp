#include "host/controles/AvanceCarga.h"

#include <QApplication>
#include <QLocale>
#include <QProgressDialog>

namespace orvinda {

namespace {

AvanceCarga* g_tanda = nullptr;

} // namespace

AvanceCarga::AvanceCarga(QWidget* ventana, bool tanda)
    : m_ventana(ventana)
    , m_tanda(tanda)
{
    if (m_tanda) {
        m_anterior = g_tanda;
        g_tanda = this;
    }
    m_reloj.start();
}

AvanceCarga::~AvanceCarga()
{
    if (m_tanda)
        g_tanda = m_anterior;
}

AvanceCarga* AvanceCarga::TandaAbierta()
{
    return g_tanda;
}

void AvanceCarga::Sumar(int filas)
{
    m_filas += filas;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    const qint64 ms = m_reloj.elapsed();
    if (ms < EsperaMs || ms - m_ultimo < 100)
        return;
    m_ultimo = ms;
    if (!m_dialogo) {
        // No total is known while rows stream in: a busy bar and a count.
        m_dialogo = std::make_unique<QProgressDialog>(m_ventana ? m_ventana->window() : nullptr);
        m_dialogo->setObjectName(QStringLiteral("dlgAvanceLista"));
        m_dialogo->setWindowTitle(QStringLiteral("Cargando"));
        m_dialogo->setCancelButton(nullptr);
        m_dialogo->setRange(0, 0);
        m_dialogo->setMinimumDuration(0);
        m_dialogo->setWindowModality(Qt::WindowModal);
        m_dialogo->show();
    }
    m_dialogo->setLabelText(QStringLiteral("Leyendo documentos: %1").arg(QLocale().toString(m_filas)));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace orvinda
