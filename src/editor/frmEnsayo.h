#pragma once

#include "config/ConfiguracionAutorizacion.h"
#include "editor/Ensayo.h"

#include <QColor>
#include <QDialog>
#include <QString>
#include <memory>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace orvinda {
class WebBrowser;
}

namespace rm640 {

// The rehearsal window: the folios the listing finds, the chosen one shown
// in the review page with its fields to type into, and what the
// authorization and the rejection would do, each run and rolled back.
class frmEnsayo : public QDialog
{
    Q_OBJECT

public:
    // The colour of what would stop or undo the reviewer's decision.
    static const QColor ColorGrave;

    frmEnsayo(const ConfiguracionAutorizacion& configuracion, QWidget* parent);
    ~frmEnsayo() override;

    const QStringList& Folios() const { return m_folios; }
    // Renders folio i and puts it into the page; false when it cannot be rendered.
    bool MostrarFolio(int indice);
    Ensayo::Resultado EnsayarAutorizacion();
    Ensayo::Resultado EnsayarRechazo();
    QString Informe() const;
    orvinda::WebBrowser& Navegador() const { return *m_navegador; }

signals:
    // The page's body now holds the chosen document.
    void DocumentoMostrado();

protected:
    void showEvent(QShowEvent* evento) override;

private:
    void Informar(const QString& titulo, const Ensayo::Resultado& r, bool autorizacion);

    Ensayo m_ensayo;
    QString m_formatoConfigurado;
    QString m_campos;
    // Who asked for the document shown, when the template query says it.
    QString m_solicitante;
    QString m_pagina;
    QString m_html;
    QString m_folio;
    QStringList m_folios;
    std::shared_ptr<int> m_testigo = std::make_shared<int>(0);

    QListWidget* m_lista = nullptr;
    orvinda::WebBrowser* m_navegador = nullptr;
    QPlainTextEdit* m_informe = nullptr;
    QPushButton* m_autorizar = nullptr;
    QPushButton* m_rechazar = nullptr;
};

} // namespace rm640
