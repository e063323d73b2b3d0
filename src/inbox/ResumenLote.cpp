#include "inbox/ResumenLote.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace rm640 {

namespace {

// In the order each reason first came up; a reason one document had is
// said as before, with its folio.
void Enumerar(QStringList& lineas, const QString& titulo, const QList<AutorizacionEnLote::Pendiente>& documentos)
{
    if (documentos.isEmpty())
        return;
    lineas.append(titulo);
    QStringList motivos;
    QHash<QString, QStringList> folios;
    for (const AutorizacionEnLote::Pendiente& p : documentos) {
        if (!folios.contains(p.motivo))
            motivos.append(p.motivo);
        folios[p.motivo].append(p.folio);
    }
    for (const QString& motivo : std::as_const(motivos)) {
        const QStringList& de = folios[motivo];
        if (de.size() == 1) {
            lineas.append(QStringLiteral("%1: %2").arg(de.first(), motivo));
            continue;
        }
        lineas.append(QStringLiteral("%1 documentos: %2").arg(de.size()).arg(motivo));
        QString nombrados = de.mid(0, ResumenLote::FoliosNombrados).join(QStringLiteral(", "));
        if (de.size() > ResumenLote::FoliosNombrados)
            nombrados += QStringLiteral(" y %1 más").arg(de.size() - ResumenLote::FoliosNombrados);
        lineas.append(QStringLiteral("   (%1)").arg(nombrados));
    }
}

} // namespace

QString ResumenLote::Texto(const AutorizacionEnLote::Resumen& resumen, int pedidos)
{
    QStringList lineas{QStringLiteral("Autorizados: %1 de %2.").arg(resumen.autorizados.size()).arg(pedidos)};
    if (resumen.cancelado)
        lineas.append(QStringLiteral("Se canceló antes de terminar."));
    Enumerar(lineas, QStringLiteral("Quedan pendientes:"), resumen.pendientes);
    Enumerar(lineas, QStringLiteral("Autorizados con aviso:"), resumen.avisos);
    return lineas.join(u'\n');
}

QString ResumenLote::Impresos(const QStringList& archivos)
{
    if (archivos.isEmpty())
        return QString();
    if (archivos.size() == 1)
        return QStringLiteral("El documento se guardó en: %1").arg(QFileInfo(archivos.first()).fileName());
    return QStringLiteral("%1 documentos se guardaron en: %2")
        .arg(archivos.size())
        .arg(QDir::toNativeSeparators(QFileInfo(archivos.first()).absolutePath()));
}

} // namespace rm640
