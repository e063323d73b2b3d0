#include "editor/frmEnsayo.h"

#include "config/Parametros.h"
#include "host/controles/AjusteVentana.h"
#include "host/controles/PaginaSegura.h"
#include "host/controles/WebBrowser.h"
#include "host/servicios/Sistema.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/ReglasDePagina.h"
#include "review/RevisionDocumento.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTextCursor>
#include <QVBoxLayout>

namespace rm640 {

const QColor frmEnsayo::ColorGrave(180, 30, 30);

frmEnsayo::frmEnsayo(const ConfiguracionAutorizacion& configuracion, QWidget* parent)
    : QDialog(parent)
    , m_ensayo(configuracion)
    , m_formatoConfigurado(configuracion.formatoImpresion)
    , m_campos(configuracion.camposAutorizar)
{
    setObjectName(QStringLiteral("frmEnsayo"));
    setWindowTitle(QStringLiteral("Probar configuración: ") + configuracion.etiqueta);
    // Capped at the screen it opens on when shown (a 1024 x 768 screen too).
    resize(1100, 720);

    m_lista = new QListWidget(this);
    m_lista->setObjectName(QStringLiteral("lstFolios"));
    m_navegador = new orvinda::WebBrowser(this);
    m_navegador->setObjectName(QStringLiteral("WebBrowser1"));
    // The same page, under the same rules, as the review dialog.
    orvinda::PaginaSegura::Aplicar(m_navegador->page());
    m_informe = new QPlainTextEdit(this);
    m_informe->setObjectName(QStringLiteral("txtInforme"));
    m_informe->setReadOnly(true);
    m_informe->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_lista->setAccessibleName(QStringLiteral("Folios pendientes"));
    m_navegador->setAccessibleName(QStringLiteral("Documento de prueba"));
    m_informe->setAccessibleName(QStringLiteral("Resultado de la prueba"));
    m_autorizar = new QPushButton(QStringLiteral("Probar la autorización"), this);
    m_rechazar = new QPushButton(QStringLiteral("Probar el rechazo"), this);
    auto* cerrar = new QPushButton(QStringLiteral("Cerrar"), this);
    auto* aviso = new QLabel(QStringLiteral("Cada sentencia corre en una transacción que siempre se deshace: "
                                            "nada se guarda, se comenta ni se imprime."),
                             this);
    aviso->setWordWrap(true);

    auto* izquierda = new QWidget(this);
    auto* columna = new QVBoxLayout(izquierda);
    columna->setContentsMargins(0, 0, 0, 0);
    auto* titulo = new QLabel(QStringLiteral("&Folios pendientes (hasta %1):").arg(Ensayo::MaximoFolios), this);
    titulo->setBuddy(m_lista);
    columna->addWidget(titulo);
    columna->addWidget(m_lista);
    auto* divisor = new QSplitter(Qt::Vertical, this);
    divisor->addWidget(m_navegador);
    divisor->addWidget(m_informe);
    divisor->setSizes({480, 180});
    auto* centro = new QSplitter(Qt::Horizontal, this);
    centro->addWidget(izquierda);
    centro->addWidget(divisor);
    centro->setSizes({200, 900});
    auto* botones = new QHBoxLayout;
    botones->addWidget(aviso, 1);
    botones->addWidget(m_autorizar);
    botones->addWidget(m_rechazar);
    botones->addWidget(cerrar);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(centro, 1);
    todo->addLayout(botones);

    m_pagina = RevisionDocumento::Pagina(
        Publico::Sistema->LeerParametro(QStringLiteral("GEN_URL"), 1, QString(), QString()).toString());
    connect(m_navegador, &orvinda::WebBrowser::DocumentComplete, this, [this] {
        if (m_html.isEmpty())
            return;
        std::weak_ptr<int> vivo = m_testigo;
        m_navegador->ReemplazarCuerpo(m_html, [this, vivo] {
            if (vivo.lock())
                emit DocumentoMostrado();
        });
    });
    connect(m_lista, &QListWidget::currentRowChanged, this, [this](int fila) { MostrarFolio(fila); });
    connect(m_autorizar, &QPushButton::clicked, this, [this] { EnsayarAutorizacion(); });
    connect(m_rechazar, &QPushButton::clicked, this, [this] { EnsayarRechazo(); });
    connect(cerrar, &QPushButton::clicked, this, &QDialog::accept);

    const bool listado = Trampa::Atrapar(
        [this](const QString& error) {
            m_informe->setPlainText(QStringLiteral("La consulta del listado falla:\n") + error);
        },
        [this] { m_folios = m_ensayo.Folios(); });
    if (listado && m_folios.isEmpty())
        m_informe->setPlainText(QStringLiteral("La consulta del listado no encuentra documentos pendientes."));
    m_lista->addItems(m_folios);
    m_autorizar->setEnabled(false);
    m_rechazar->setEnabled(false);
    // The author meets a document at once, as a reviewer would.
    MostrarFolio(0);
}

frmEnsayo::~frmEnsayo() = default;

void frmEnsayo::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous())
        orvinda::AjusteVentana::CaberEnPantalla(*this);
}

bool frmEnsayo::MostrarFolio(int indice)
{
    m_autorizar->setEnabled(false);
    m_rechazar->setEnabled(false);
    if (indice < 0 || indice >= m_folios.size())
        return false;
    if (m_lista->currentRow() != indice) {
        const QSignalBlocker sinAviso(m_lista);
        m_lista->setCurrentRow(indice);
    }
    m_folio = m_folios[indice];
    QString html;
    const bool bien = Trampa::Atrapar(
        [this](const QString& error) {
            m_informe->setPlainText(QStringLiteral("El documento %1 no se puede mostrar; el revisor vería el aviso "
                                                   "ERR-ID:7500005:\n")
                                        .arg(m_folio)
                                    + error);
        },
        [&] { html = m_ensayo.Renderizar(m_folio, &m_solicitante); });
    if (!bien)
        return false;
    m_html = html;
    m_informe->setPlainText(
        QStringLiteral("Documento %1. Escriba en sus campos y pruebe la autorización o el rechazo.").arg(m_folio));
    // A fresh page for every document, as each opening of the review dialog.
    m_navegador->Navigate(m_pagina);
    m_autorizar->setEnabled(true);
    m_rechazar->setEnabled(true);
    return true;
}

Ensayo::Resultado frmEnsayo::EnsayarAutorizacion()
{
    // The page read in one answer, and held to its own rules first, as the
    // review road does.
    const orvinda::WebBrowser::Lectura pagina = m_navegador->LeerCampos(ReglasDePagina::Nombres(m_campos));
    const std::optional<ReglasDePagina::Incumplida> incumplida = ReglasDePagina::Primera(pagina, m_campos);
    Ensayo::Resultado r;
    if (incumplida)
        r.error = incumplida->mensaje;
    else
        r = m_ensayo.Autorizar(m_folio, [&pagina](const QString& campo) { return pagina.Valor(campo); });
    Informar(QStringLiteral("Autorización"), r, true);
    if (incumplida)
        Trampa::Intentar([&] { m_navegador->EnfocarYMarcar(incumplida->campo); });
    return r;
}

Ensayo::Resultado frmEnsayo::EnsayarRechazo()
{
    const Ensayo::Resultado r = m_ensayo.Rechazar(m_folio);
    Informar(QStringLiteral("Rechazo"), r, false);
    return r;
}

QString frmEnsayo::Informe() const
{
    return m_informe->toPlainText();
}

void frmEnsayo::Informar(const QString& titulo, const Ensayo::Resultado& r, bool autorizacion)
{
    // What would stop or undo the reviewer's decision is red.
    QList<std::pair<QString, bool>> l;
    const auto linea = [&l](const QString& texto, bool grave = false) { l.append({texto, grave}); };
    linea(QStringLiteral("%1 del documento %2 (deshecha)").arg(titulo, m_folio));
    linea(QStringLiteral("Sentencia:"));
    linea(r.sentencia.isEmpty() ? QStringLiteral("(no se llegó a formar)") : r.sentencia);
    if (!r.error.isEmpty()) {
        linea(QStringLiteral("Error:"));
        linea(r.error, true);
    } else if (r.filas > r.limite) {
        linea(QStringLiteral("Filas afectadas: %1 en %2: más que el límite por documento, %3 (parámetro general %4). "
                             "El revisor vería que se deshace y no se aplica ningún cambio.")
                  .arg(r.filas)
                  .arg(r.tabla)
                  .arg(r.limite)
                  .arg(Parametros::FilasPorDocumentoNombre),
              true);
    } else if (r.filas >= 0) {
        linea(QStringLiteral("Filas afectadas: %1%2")
                  .arg(r.filas)
                  .arg(r.filas == 0 ? QStringLiteral(" (el revisor vería que el documento ya no está pendiente)")
                                    : QString()));
    }
    if (autorizacion) {
        linea(QStringLiteral("Comentario del documento: ")
              + (r.comentario ? QStringLiteral("\"%1\"").arg(*r.comentario) : QStringLiteral("(ninguno)")));
        linea(
            QStringLiteral("Formato de impresión: ")
            + (m_formatoConfigurado.isEmpty() ? QStringLiteral("(ninguno: no se imprimiría)")
                                              : m_formatoConfigurado
                       + (r.formato.isEmpty() ? QStringLiteral(" (no se usaría: la autorización falla)") : QString())));
    }
    if (!m_solicitante.isEmpty()) {
        const QString operador = Publico::Sistema->ObtenerOperador();
        linea(RevisionDocumento::EsPropia(m_solicitante, operador)
                  ? RevisionDocumento::PropiaSolicitud(
                      autorizacion ? QStringLiteral("autorizar") : QStringLiteral("rechazar"), m_folio, operador)
                  : QStringLiteral("Lo solicitó el operador %1: ese operador no podría autorizarlo ni rechazarlo.")
                        .arg(m_solicitante),
              RevisionDocumento::EsPropia(m_solicitante, operador));
    }
    m_informe->clear();
    QTextCursor cursor(m_informe->document());
    for (qsizetype i = 0; i < l.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        QTextCharFormat formato;
        if (l[i].second) {
            formato.setForeground(ColorGrave);
            formato.setFontWeight(QFont::Bold);
        }
        cursor.insertText(l[i].first, formato);
    }
}

} // namespace rm640
