#include "servicios/TrabajoPdf.h"

#include "host/controles/PaginaSegura.h"

#include <QDir>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

namespace orvinda {

void TrabajoPdf::Iniciar(const QString& html, const QString& ruta, AlTerminar alTerminar, int esperaMs)
{
    auto* trabajo = new TrabajoPdf(ruta, std::move(alTerminar));
    trabajo->m_limite->start(esperaMs);
    trabajo->m_pagina->setHtml(html, QUrl(QStringLiteral("orvinda://web/Impresion/")));
}

TrabajoPdf::TrabajoPdf(QString ruta, AlTerminar alTerminar)
    : m_ruta(std::move(ruta))
    , m_alTerminar(std::move(alTerminar))
    , m_pagina(std::make_unique<QWebEnginePage>())
    , m_limite(new QTimer(this))
{
    // The document's text is data here too: no script, no outside request.
    PaginaSegura::Aplicar(m_pagina.get());
    m_limite->setSingleShot(true);
    connect(m_limite, &QTimer::timeout, this, [this] {
        Terminar(QStringLiteral("No se pudo generar el PDF del documento: el navegador no respondió a tiempo."));
    });
    connect(m_pagina.get(), &QWebEnginePage::loadFinished, this, &TrabajoPdf::Cargada);
}

TrabajoPdf::~TrabajoPdf() = default;

void TrabajoPdf::Cargada(bool correcta)
{
    if (m_terminado)
        return;
    if (!correcta)
        return Terminar(QStringLiteral("No se pudo preparar el documento para imprimir."));
    const QPageLayout hoja(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(14, 14, 14, 14),
                           QPageLayout::Millimeter);
    // The answer comes on a turn of its own; this object is still there,
    // since only Terminar lets it go.
    QPointer<TrabajoPdf> vivo(this);
    m_pagina->printToPdf(
        [vivo](const QByteArray& pdf) {
            if (vivo)
                QTimer::singleShot(0, vivo, [vivo, pdf] { vivo->Impreso(pdf); });
        },
        hoja);
}

void TrabajoPdf::Impreso(const QByteArray& pdf)
{
    if (m_terminado)
        return;
    if (pdf.isEmpty())
        return Terminar(QStringLiteral("No se pudo generar el PDF del documento."));
    QDir().mkpath(QFileInfo(m_ruta).absolutePath());
    QSaveFile archivo(m_ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(pdf) != pdf.size() || !archivo.commit())
        return Terminar(
            QStringLiteral("No se pudo guardar %1: %2").arg(QDir::toNativeSeparators(m_ruta), archivo.errorString()));
    Terminar(QString());
}

void TrabajoPdf::Terminar(const QString& error)
{
    if (m_terminado)
        return;
    m_terminado = true;
    m_limite->stop();
    if (m_alTerminar)
        m_alTerminar(error.isEmpty() ? m_ruta : QString(), error);
    deleteLater();
}

} // namespace orvinda
