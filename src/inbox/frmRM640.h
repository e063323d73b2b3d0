#pragma once

#include "host/datos/Recordset.h"
#include "inbox/frmHistorial.h"
#include "review/AutorizacionEnLote.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QToolButton;

namespace orvinda {
class Controles;
class Frame;
class ListView;
class SSTab;
class Shape;
class colorVEX;
} // namespace orvinda

namespace rm640 {

// The authorization inbox: one tab per active configuration, each listing the
// documents that wait for approval.
class frmRM640 : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QObject* Padre READ Padre WRITE setPadre)
    Q_PROPERTY(QString Transaccion READ Transaccion)
    Q_PROPERTY(bool Cargado READ Cargado)

public:
    // Design geometry, twips.
    static constexpr int AnchoDiseno = 13530;
    static constexpr int AltoDiseno = 7515;

    // The form's single shared instance: created on first use, loaded when
    // it is first shown (or Form_Load is called).
    static frmRM640& Instancia();
    static bool ExisteInstancia();

    ~frmRM640() override;

    QObject* Padre() const;
    void setPadre(QObject* valor);

    // Asks the container for its transaction text by name and hands it to the
    // shell; every failure propagates to the caller.
    QString Transaccion() const;

    void Form_Load();
    void Form_Activate();
    void Form_Resize();

    bool Cargado() const { return m_cargado; }
    // A refresh is reading its lists; the window takes input meanwhile.
    bool Refrescando() const { return m_refrescando; }
    bool FormaCargada() const { return m_formaCargada; }
    QString TotalPestanias() const { return m_totalPestanias; }
    const QStringList& ClavesConfiguracion() const { return m_clavesConfiguracion; }

    orvinda::Controles& Controles() const { return *m_controles; }
    orvinda::SSTab& SSTab() const { return *m_ssTab; }
    orvinda::colorVEX& colorVEX() const { return *m_colorVEX; }
    // Control arrays; an element that is not loaded throws ErrorRm.
    orvinda::Shape& sh0(int indice) const;
    orvinda::Frame& fr0(int indice) const;
    orvinda::ListView& lvInsidencias(int indice) const;
    int ElementosCargados() const { return static_cast<int>(m_lista.size()); }

    // What the toolbar's extra button opens: the configuration editor, loaded,
    // shown modally and unloaded again; tests put their own here.
    void setAbrirConfiguracion(std::function<void()> abrir) { m_abrirConfiguracion = std::move(abrir); }

    // Keyboard triage: the filter box, the bulk command and each tab's count.
    QLineEdit& txtFiltro() const { return *m_filtro; }
    QToolButton& cmdAutorizarSeleccionados() const { return *m_autorizarSeleccionados; }
    QToolButton& cmdHistorial() const { return *m_historial; }
    // The history window while it is open.
    frmHistorial* Historial() const { return m_ventanaHistorial.data(); }
    // What the count beside tab i reads: "120", or "12 de 120" while filtered.
    QString CuentaPestania(int i) const;

signals:
    // A refresh ended: the screen shows all it is going to show.
    void Llenada();

public slots:
    // F5: the refresh again from the designed state, keeping the chosen tab,
    // its selected folio and each tab's order wherever they still exist. One
    // asked for while a refresh runs waits for it.
    void Refrescar();
    // Authorizes every selected document of the shown tab at once.
    void AutorizarSeleccionados();
    // Ctrl+H: the decisions in the log, in a window of their own.
    void AbrirHistorial();
    void Controles_Salir();
    void Controles_BotonExtra();
    // Opens the selected document of list Index for review.
    void lvInsidencias_DblClick(int Index);

protected:
    explicit frmRM640(QWidget* parent = nullptr);
    void showEvent(QShowEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    friend class Trampa;

    // The container set as Padre; throws ErrorRm when none is.
    QObject& PadreEstablecido() const;
    // The refresh, one configuration at a time: each step makes a tab and
    // starts its list; the list's end starts the next step.
    void Actualizar_Autorizaciones();
    void SiguienteConfiguracion();
    void AlLlenarConfiguracion(const QString& error, bool cancelado);
    void TerminarRefresco();
    void AjustarPestanias();
    // A refresh that stopped part-way left tabs and elements behind: the next
    // run starts again from the designed state.
    void VolverAlDiseno();
    void CargarElemento(int i);
    // Starts filling list i; alTerminar runs once its rows are there, or the
    // read failed or was stopped.
    void LlenarLista(const QString& consulta, int i,
                     std::function<void(const QString& error, bool cancelado)> alTerminar);
    void ConectarLista(orvinda::ListView* lista);
    // The document rendered from the configuration's template; empty text
    // when there is nothing to show or the rendering failed (and said so).
    QString ObtenerPlantilla(const QString& clave, const QString& folio);
    void Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& id);

    void PrepararTriaje();
    void PrepararHistorial();
    // After a run of several documents: the list read again, then the summary.
    void TerminarLote(const AutorizacionEnLote::Resumen& resumen, int pedidos, int i, const QString& clave);
    void AplicarFiltro();
    void ActualizarCuenta(int i);
    void ActualizarComandos();
    // The list's tab and shown list, or -1 when the tab has no configuration.
    int ListaMostrada() const;
    // After a reload: the document that followed the processed one, or the
    // row that took its place.
    struct Posicion
    {
        QString siguiente;
        int fila = -1;
    };
    static Posicion PosicionTras(const orvinda::ListView& lista);
    static void SeleccionarTras(orvinda::ListView& lista, const Posicion& posicion);

    QPointer<QObject> m_padre;
    bool m_formaCargada = false;
    bool m_cargado = false;
    bool m_refrescando = false;
    bool m_refrescoPendiente = false;
    orvinda::Recordset m_configuraciones;
    qint16 m_fila = -1;
    // Each kind's order, kept across refreshes; what F5 restores at the end.
    QHash<QString, std::pair<int, Qt::SortOrder>> m_orden;
    std::function<void()> m_trasRefresco;
    QString m_totalPestanias = QStringLiteral("0");
    QStringList m_clavesConfiguracion;

    orvinda::colorVEX* m_colorVEX = nullptr;
    orvinda::Controles* m_controles = nullptr;
    orvinda::SSTab* m_ssTab = nullptr;
    QVector<orvinda::Shape*> m_barra;
    QVector<orvinda::Frame*> m_marco;
    QVector<orvinda::ListView*> m_lista;
    std::function<void()> m_abrirConfiguracion;
    QPointer<QWidget> m_ventanaObservada;
    QElapsedTimer m_ultimoMensaje;
    QLineEdit* m_filtro = nullptr;
    QToolButton* m_autorizarSeleccionados = nullptr;
    // How many documents are selected and what they add up to.
    QLabel* m_lblSeleccion = nullptr;
    QPointer<AutorizacionEnLote> m_lote;
    QToolButton* m_historial = nullptr;
    QPointer<frmHistorial> m_ventanaHistorial;
};

} // namespace rm640
