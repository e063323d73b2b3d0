#include "inbox/ResumenLote.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace rm640 {

namespace {

// A reason that names its own document ("El documento X ya no está
// pendiente…") is the same reason as the others' once its folio goes.
QString SinSuFolio(const QString& motivo, const QString& folio)
{
    if (folio.isEmpty())
        return motivo;
    const QRegularExpression suyo(QStringLiteral("\\s?(?<![\\w-])%1(?![\\w-])").arg(QRegularExpression::escape(folio)),
                                  QRegularExpression::UseUnicodePropertiesOption);
    return QString(motivo).remove(suyo);
}

// In the order each reason first came up; a reason one document had is
// said as before, with its folio.
void Enumerar(QStringList& lineas, const QString& titulo, const QList<AutorizacionEnLote::Pendiente>& documentos)
{
    if (documentos.isEmpty())
        return;
    lineas.append(titulo);
    QStringList motivos;
    QHash<QString, QList<AutorizacionEnLote::Pendiente>> grupos;
    for (const AutorizacionEnLote::Pendiente& p : documentos) {
        const QString motivo = SinSuFolio(p.motivo, p.folio);
        if (!grupos.contains(motivo))
            motivos.append(motivo);
        grupos[motivo].append(p);
    }
    for (const QString& motivo : std::as_const(motivos)) {
        const QList<AutorizacionEnLote::Pendiente>& grupo = grupos[motivo];
        if (grupo.size() == 1) {
            lineas.append(QStringLiteral("%1: %2").arg(grupo.first().folio, grupo.first().motivo));
            continue;
        }
        QStringList folios;
        for (const AutorizacionEnLote::Pendiente& p : grupo)
            folios.append(p.folio);
        lineas.append(QStringLiteral("%1 documentos: %2").arg(folios.size()).arg(motivo));
        QString nombrados = folios.mid(0, ResumenLote::FoliosNombrados).join(QStringLiteral(", "));
        if (folios.size() > ResumenLote::FoliosNombrados)
            nombrados += QStringLiteral(" y %1 más").arg(folios.size() - ResumenLote::FoliosNombrados);
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
