#include "inbox/frmValoresLote.h"

#include "marcadores/Marcadores.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QVBoxLayout>
#include <algorithm>

namespace rm640 {

QList<frmValoresLote::Campo> frmValoresLote::Obligatorios(const QString& campos, const QString& plantilla)
{
    QList<Campo> r;
    for (const CampoAutorizar& campo : Marcadores::LeerListaCampos(campos)) {
        if (!campo.obligatorio || campo.nombre.isEmpty()
            || std::any_of(r.cbegin(), r.cend(), [&](const Campo& c) { return c.nombre == campo.nombre; }))
            continue;
        const QRegularExpression etiqueta(
            QStringLiteral("<label\\b[^>]*\\bfor\\s*=\\s*[\"']?%1[\"'\\s>][^>]*>?(.*?)</label>")
                .arg(QRegularExpression::escape(campo.nombre)),
            QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch m = etiqueta.match(plantilla);
        QString texto
            = m.hasMatch() ? QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText().simplified() : QString();
        // "Partida presupuestal *": the mark of a required field goes, the form asks for all.
        static const QRegularExpression marca(QStringLiteral("[\\s*:]+$"));
        texto.remove(marca);
        r.append({campo.nombre, texto.isEmpty() ? campo.nombre : texto});
    }
    return r;
}

frmValoresLote::frmValoresLote(const QList<Campo>& campos, int documentos, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmValoresLote"));
    setWindowTitle(QStringLiteral("Autorizar seleccionados"));
    setWindowModality(Qt::WindowModal);
    auto* columna = new QVBoxLayout(this);
    auto* explicacion = new QLabel(
        QStringLiteral("Para los %1 documentos seleccionados: donde un documento deja vacío uno de estos campos, "
                       "se usa el valor que escriba aquí; donde ya tiene uno, se conserva el suyo. Un campo que "
                       "deje vacío aquí no cambia nada.")
            .arg(documentos),
        this);
    explicacion->setWordWrap(true);
    columna->addWidget(explicacion);
    auto* forma = new QFormLayout;
    for (const Campo& campo : campos) {
        auto* caja = new QLineEdit(this);
        caja->setObjectName(campo.nombre);
        caja->setAccessibleName(campo.etiqueta);
        forma->addRow(campo.etiqueta + QStringLiteral(":"), caja);
        m_cajas.append({campo.nombre, caja});
    }
    columna->addLayout(forma);
    auto* botones = new QDialogButtonBox(this);
    QPushButton* autorizar = botones->addButton(QStringLiteral("&Autorizar"), QDialogButtonBox::AcceptRole);
    autorizar->setObjectName(QStringLiteral("cmdAutorizar"));
    autorizar->setDefault(true);
    botones->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdCancelar"));
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    columna->addWidget(botones);
}

QVariantMap frmValoresLote::Valores() const
{
    QVariantMap r;
    for (const auto& [nombre, caja] : m_cajas)
        if (!caja->text().trimmed().isEmpty())
            r.insert(nombre, caja->text().trimmed());
    return r;
}

QLineEdit* frmValoresLote::Caja(const QString& nombre) const
{
    for (const auto& [n, caja] : m_cajas)
        if (n == nombre)
            return caja;
    return nullptr;
}

} // namespace rm640
