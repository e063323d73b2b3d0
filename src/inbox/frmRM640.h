#pragma once

#include "host/datos/Recordset.h"
#include "inbox/frmHistorial.h"
#include "review/AutorizacionEnLote.h"
#include "review/frmAutorizacion.h"

#include <QDate>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;

namespace orvinda {
class Conexion;
class Controles;
class Frame;
class AvisosServidor;
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
    QString TotalPestanias() const { return QString::number(m_totalPestanias); }
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
    // What the count beside tab i reads: "120", or "12 de 120" while
    // filtered, and how old the oldest of those documents is ("120 · 41 d")
    // when the listing has a date column. nivel above 0: shorter, for a
    // narrow window (1 without the age, 2 "12/120").
    QString CuentaPestania(int i, int nivel = 0) const;
    // The accessible name of tab i: its label, its access key and its count.
    QString NombrePestania(int i) const;
    // What the status area at the top right says.
    QString Estado() const;

    // The general parameters of the live inbox, as the last refresh read them.
    static inline const QString ParametroDiasAtraso = QStringLiteral("RM640_DIAS_ATRASO");
    static inline const QString ParametroRefresco = QStringLiteral("RM640_REFRESCO_SEG");
    // How the status area starts when an idle refresh failed.
    static inline const QString PrefijoFallaReposo = QStringLiteral("No se pudo actualizar");
    int DiasAtraso() const { return m_diasAtraso; }
    int SegundosReposo() const { return m_segundosReposo; }
    // The server's date the ages count against, read once per refresh.
    QDate FechaReferencia() const { return m_hoy; }
    // The idle refresh: the listings read again unseen and put in place of
    // the shown ones only when every one was read; tab, selection, filter and
    // sort stay. Nothing starts while a dialog is open, a list is being read
    // or a bulk run goes on: false then. A key or a click stops one under way.
    bool RefrescarEnReposo();
    bool RefrescandoEnReposo() const { return m_leyendoReposo >= 0; }
    // Documents that arrived since the last look, by kind; marked until seen.
    QSet<QString> Nuevos(const QString& clave) const;
    // On PostgreSQL the inbox also LISTENs on CanalAvisos: a NOTIFY there
    // (a site's trigger on its document tables) refreshes it as the idle
    // refresh does, once nobody has touched the keys for a moment, whatever
    // RM640_REFRESCO_SEG says.
    static inline const QString CanalAvisos = QStringLiteral("rm640");
    bool Escuchando() const;

signals:
    // A refresh ended: the screen shows all it is going to show.
    void Llenada();
    // An idle refresh ended: bien when the lists were read and put in place.
    void RefrescoEnReposo(bool bien);

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

    // A row of the configurations query, its values as read.
    struct FilaConfiguracion
    {
        QVariant id;
        QVariant etiqueta;
        QVariant sql;
    };
    // Runs the configurations query (its text is fixed, the trace shows it) and
    // keeps its rows in the order of their keys; throws on failure.
    QVector<FilaConfiguracion> LeerConfiguraciones();
    static void OrdenarPorClave(QVector<FilaConfiguracion>& filas);
    // Once the lists of a refresh are there: the server's date and the
    // parameters, then the ages, the new documents and the title.
    // completa is false when the reviewer stopped the refresh part-way.
    void AlTerminarLectura(bool completa);
    void AplicarMarcas(bool completa);
    void ActualizarTitulo();
    // Idle refresh.
    void LeerSiguienteEnReposo();
    void AplicarReposo();
    void FallarReposo(const QString& motivo);
    void DetenerReposo();
    bool PuedeRefrescarEnReposo() const;
    void AlVencerReposo();
    void ProgramarReposo();
    void Escuchar(orvinda::Conexion& conexion);
    void AlAvisarServidor();
    void AtenderAviso();
    void Reconstruir(const QVector<FilaConfiguracion>& filas);
    void CrearPestania(int i, const QString& clave, const QString& etiqueta);
    void MarcarVistos(int i);
    void PedirCuentas();
    void ActualizarCuentas();
    void PonerCuenta(int i);
    void AjustarCuentas();

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
    void LlenarLista(const QString& consulta, orvinda::ListView& lista,
                     std::function<void(const QString& error, bool cancelado)> alTerminar);
    void ConectarLista(orvinda::ListView* lista);
    // The document rendered from the configuration's template; empty text
    // when there is nothing to show or the rendering failed (and said so).
    QString ObtenerPlantilla(const QString& clave, const QString& folio);
    void Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& id);

    void PrepararTriaje();
    void PrepararHistorial();
    // A run of several documents, with the values asked for before it.
    void IniciarLote(int i, const QString& clave, const QStringList& folios, const QVariantMap& valores);
    // After it: the list read again, the documents left pending selected
    // and marked, then the summary (even when the list could not be read).
    void TerminarLote(const AutorizacionEnLote::Resumen& resumen, int pedidos, int i, const QString& clave);
    // The status area's notices: a document printed or not, and its "Abrir".
    void PrepararAvisos();
    void Avisar(const QString& texto, const QString& archivo, bool grave, const QString& detalle = {});
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
    // After a decision: list i read again, the follower selected; despues
    // hears whether the list came back whole.
    void RecargarTrasDecision(int i, const QString& consulta, std::function<void(bool bien)> despues);
    // The review dialog opened from list i moves along it: the neighbours,
    // and the next document once one is decided. The flag says whether the
    // last decision's reload was already started from the dialog.
    struct Apertura
    {
        QString clave, tabla, campos, consulta;
    };
    std::shared_ptr<bool> Recorrer(frmAutorizacion& dialogo, int i, const Apertura& apertura);
    // Row fila of list i rendered for the dialog; nothing when it cannot be.
    std::optional<frmAutorizacion::Documento> DocumentoEn(int i, int fila, const Apertura& apertura);

    QPointer<QObject> m_padre;
    bool m_formaCargada = false;
    bool m_cargado = false;
    bool m_refrescando = false;
    bool m_focoInicialPuesto = false;
    bool m_refrescoPendiente = false;
    qint16 m_fila = -1;
    // Each kind's order, kept across refreshes; what F5 restores at the end.
    QHash<QString, std::pair<int, Qt::SortOrder>> m_orden;
    std::function<void()> m_trasRefresco;
    int m_totalPestanias = 0;
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
    // The required values asked for before a run, while the window is open.
    QPointer<QWidget> m_valoresLote;
    // What "Abrir" beside the status opens.
    QString m_archivoAviso;
    QToolButton* m_historial = nullptr;
    QPointer<frmHistorial> m_ventanaHistorial;

    QVector<FilaConfiguracion> m_filas;
    orvinda::Conexion* m_conexionRefresco = nullptr;
    QDate m_hoy;
    int m_diasAtraso = 7;
    int m_segundosReposo = 120;
    // Each kind's folios at the last look, and those new since then.
    // By ModeloLista::Huella: eight bytes a folio, even for a million.
    QHash<QString, QSet<size_t>> m_conocidos;
    QHash<QString, QSet<size_t>> m_nuevos;
    bool m_restaurando = false;
    QTimer* m_reposo = nullptr;
    QElapsedTimer m_actividad;
    std::unique_ptr<orvinda::AvisosServidor> m_avisos;
    QTimer* m_aviso = nullptr;
    bool m_avisoPendiente = false;
    int m_leyendoReposo = -1;
    QVector<FilaConfiguracion> m_filasReposo;
    std::vector<std::unique_ptr<orvinda::ListView>> m_leidas;
    QSet<int> m_cuentasPendientes;
    bool m_cuentasProgramadas = false;
    int m_nivelCuentas = 0; // how short the counts read, so that every tab fits
};

} // namespace rm640
