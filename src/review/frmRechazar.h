#pragma once

#include "review/AnotacionDecision.h"
#include "review/SentenciaDeRevision.h"

#include <QDialog>

class QKeyEvent;
#include <QString>

class QLabel;
class QPlainTextEdit;

namespace orvinda {
class WebBrowser;
class colorVEX;
class flatButton;
} // namespace orvinda

namespace rm640 {

// Rejection of the document under review: asks for the mandatory comment,
// runs the configuration's rejection statement and hands the comment to the
// shell. Loaded, given Tabla, Folio and Clave, shown with exec() and
// unloaded by the authorization dialog, which then reads Procesado.
class frmRechazar : public QDialog
{
    Q_OBJECT

public:
    // Client area as designed, twips.
    static constexpr int AnchoDiseno = 6840;
    static constexpr int AltoDiseno = 4170;

    // The single shared instance: Load creates it when missing (owned by
    // propietario) and runs Form_Load the first time; Unload destroys it.
    static frmRechazar& Load(QWidget* propietario = nullptr);
    static frmRechazar& Instancia();
    static bool ExisteInstancia();
    static void Unload();

    ~frmRechazar() override;

    const QString& Clave() const { return m_clave; }
    void setClave(const QString& valor) { m_clave = valor; }
    const QString& Folio() const { return m_folio; }
    // The folio is in the window's title too.
    void setFolio(const QString& valor);
    const QString& Tabla() const { return m_tabla; }
    void setTabla(const QString& valor) { m_tabla = valor; }
    bool Procesado() const { return m_procesado; }
    void setProcesado(bool valor) { m_procesado = valor; }

    QPlainTextEdit& txtComentario() const { return *m_txtComentario; }
    // What was already written for this document, to start from.
    void setComentario(const QString& texto);
    // The text of the page's comment: the element the general parameter
    // RM640_CAMPO_COMENTARIO_RECHAZO names, else its one textarea; empty
    // when there is neither or the page does not answer.
    static QString ComentarioEnPagina(orvinda::WebBrowser& pagina);
    // The page's values as the reviewer left them, for the log's row.
    void setValores(const AnotacionDecision::Valores& valores) { m_valores = valores; }
    QLabel& lblComentario() const { return *m_lblComentario; }
    orvinda::flatButton& cmdAceptar() const { return *m_cmdAceptar; }
    // The designed control is named "cmdCacelar"; the widget keeps that name.
    orvinda::flatButton& cmdCancelar() const { return *m_cmdCancelar; }
    orvinda::colorVEX& colorVEX1() const { return *m_colorVEX1; }

    bool FormaCargada() const { return m_formaCargada; }

    void Form_Load();
    void cmdAceptar_Click();
    void cmdCancelar_Click();

protected:
    explicit frmRechazar(QWidget* parent);
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void reject() override;
    // Alt and a button's first letter press it, from the comment box too.
    void keyPressEvent(QKeyEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    friend class Trampa;

    bool EjecutarRechazo(const QString& Clave, const QString& Folio);
    void Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& id);

    QString m_clave;
    QString m_folio;
    QString m_tabla;
    AnotacionDecision::Valores m_valores;
    bool m_procesado = false;
    // What became of the last rejection tried.
    SentenciaDeRevision::Desenlace m_desenlace = SentenciaDeRevision::Desenlace::Detenida;
    bool m_formaCargada = false;

    QPlainTextEdit* m_txtComentario = nullptr;
    QLabel* m_lblComentario = nullptr;
    orvinda::flatButton* m_cmdAceptar = nullptr;
    orvinda::flatButton* m_cmdCancelar = nullptr;
    orvinda::colorVEX* m_colorVEX1 = nullptr;
};

} // namespace rm640
