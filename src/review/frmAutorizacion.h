#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QKeyEvent;

namespace orvinda {
class WebBrowser;
class flatButton;
} // namespace orvinda

namespace rm640 {

// Review of one pending document: the shell's editor page showing the
// rendered document and taking the reviewer's input, and the three answers.
// The caller loads it, sets Plantilla, Tabla, Folio, Campos and Clave, shows
// it with exec(), reads Procesado once it has hidden itself, and unloads it.
// Whoever opened it from a list may let it move along that list (Recorrido).
class frmAutorizacion : public QDialog
{
    Q_OBJECT

public:
    // Client area as designed, twips.
    static constexpr int AnchoDiseno = 9705;
    static constexpr int AltoDiseno = 7215;

    // The single shared instance: Load creates it when missing (owned by
    // propietario) and runs Form_Load the first time; Unload destroys it.
    static frmAutorizacion& Load(QWidget* propietario = nullptr);
    static frmAutorizacion& Instancia();
    static bool ExisteInstancia();
    static void Unload();

    ~frmAutorizacion() override;

    const QString& Plantilla() const { return m_plantilla; }
    void setPlantilla(const QString& valor) { m_plantilla = valor; }
    const QString& Pagina() const { return m_pagina; }
    void setPagina(const QString& valor) { m_pagina = valor; }
    const QString& Tabla() const { return m_tabla; }
    void setTabla(const QString& valor) { m_tabla = valor; }
    bool Procesado() const { return m_procesado; }
    void setProcesado(bool valor) { m_procesado = valor; }
    const QString& Campos() const { return m_campos; }
    void setCampos(const QString& valor) { m_campos = valor; }
    const QString& Clave() const { return m_clave; }
    void setClave(const QString& valor) { m_clave = valor; }
    const QString& Folio() const { return m_folio; }
    void setFolio(const QString& valor);

    // A document of the list the dialog was opened from; posicion counts
    // from 1 among total (0 when unknown).
    struct Documento
    {
        QString plantilla, tabla, folio, campos, clave;
        int posicion = 0, total = 0;
    };
    // What the list says to the dialog. vecino gives the document paso rows
    // away from the one shown (1 the next, -1 the previous), nothing when
    // there is none. trasDecidir reloads the list after a decision and then
    // hands over the document it selected next, or nothing.
    using Entrega = std::function<void(std::optional<Documento>)>;
    struct Recorrido
    {
        std::function<std::optional<Documento>(int paso)> vecino;
        std::function<void(Entrega)> trasDecidir;
    };
    void setRecorrido(Recorrido recorrido) { m_recorrido = std::move(recorrido); }
    void setPosicion(int posicion, int total);
    // Shows another document in this same window, undecided: what was
    // typed into the last one is dropped.
    void MostrarDocumento(const Documento& documento);
    // Ctrl+PageDown / Ctrl+PageUp: the next or previous document of the
    // list; false when there is none or the dialog is not ready to move.
    bool Avanzar(int paso);
    // The document is in the page: Autorizar and Rechazar act.
    bool DocumentoListo() const { return m_documentoListo; }
    // How long a document reached by moving along the list takes no
    // decision: a press that soon was made for the one before it.
    static constexpr int GuardaTrasCambioMs = 400;

    orvinda::WebBrowser& WebBrowser1() const { return *m_webBrowser1; }
    orvinda::flatButton& CmdAutorizado() const { return *m_cmdAutorizado; }
    orvinda::flatButton& CmdRechazar() const { return *m_cmdRechazar; }
    // The designed control is named "cmdCacelar"; the widget keeps that name.
    orvinda::flatButton& cmdCancelar() const { return *m_cmdCancelar; }
    // "Abrir el siguiente al terminar", kept per user.
    QCheckBox& chkAbrirSiguiente() const { return *m_chkAbrirSiguiente; }

    bool FormaCargada() const { return m_formaCargada; }
    // The base address read from "GEN_URL" at load.
    const QString& UrlBase() const { return m_urlBase; }

    void Form_Load();
    void Form_Activate();
    void Form_KeyDown(int KeyCode, int Shift);
    void WebBrowser1_DocumentComplete();
    void CmdAutorizado_Click();
    void CmdRechazar_Click();
    void cmdCancelar_Click();

signals:
    // The page's body now holds Plantilla.
    void PlantillaMostrada();

protected:
    explicit frmAutorizacion(QWidget* parent);
    void showEvent(QShowEvent* evento) override;
    void hideEvent(QHideEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void reject() override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    friend class Trampa;

    void Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& id);
    // Alt and a button's first letter press it, from the page too.
    bool Atajo(const QKeyEvent& tecla);
    // Activation as the forms know it: coming back from another form of
    // this application, not from a message box or another application.
    void ActivarSiFalta();

    // The document area takes whatever the window has beyond its design.
    void Colocar();
    // Size, place, maximized state and the option, per user.
    void RestaurarVentana();
    void GuardarVentana();
    void GuardarOpcion();
    void ActualizarTitulo();
    // The body replaced with Plantilla; ready once the page says so.
    void PonerPlantilla();
    // A decision reached its end: close, or wait for the list's next one.
    void Concluir();
    // What was pressed before the document was shown waits for it, within
    // the page's own limit; true when the press is held or dropped.
    enum class Accion { Ninguna, Autorizar, Rechazar };
    bool Retener(Accion accion);
    void AlMostrarse();

    QString m_plantilla;
    QString m_pagina;
    QString m_tabla;
    bool m_procesado = false;
    QString m_campos;
    QString m_clave;
    QString m_folio;

    QString m_urlBase;
    bool m_formaCargada = false;
    bool m_activa = false;
    std::shared_ptr<int> m_testigo = std::make_shared<int>(0);
    int m_activaciones = 0;

    orvinda::WebBrowser* m_webBrowser1 = nullptr;
    orvinda::flatButton* m_cmdAutorizado = nullptr;
    orvinda::flatButton* m_cmdRechazar = nullptr;
    orvinda::flatButton* m_cmdCancelar = nullptr;
    QCheckBox* m_chkAbrirSiguiente = nullptr;

    Recorrido m_recorrido;
    int m_posicion = 0;
    int m_total = 0;
    bool m_documentoListo = false;
    // The list is being read again after a decision: nothing to act on.
    bool m_esperandoLista = false;
    // Each body put in the page; an older one's answer is no longer news.
    int m_generacion = 0;
    Accion m_retenida = Accion::Ninguna;
    QElapsedTimer m_retenidaDesde;
    // The document the dialog opened on; one reached by moving along the
    // list, or after a decision, is another.
    bool m_primerDocumento = true;
    QElapsedTimer m_mostradoDesde;
};

} // namespace rm640
