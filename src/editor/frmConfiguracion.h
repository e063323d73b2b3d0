#pragma once

#include "config/ConfiguracionAutorizacion.h"
#include "editor/Verificacion.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <optional>
#include <utility>

class QLabel;
class QTimer;
class QToolButton;

namespace orvinda {
class Controles;
class Etiqueta;
class Frame;
class RichTextBox;
class Shape;
class colorVEX;
class ssTbVex;
class txtVEX;
} // namespace orvinda

namespace rm640 {

struct ConfiguracionAutorizacion;

// Maintenance window of Configuracion_Autorizacion: one configuration at a
// time over six tabs. The inbox loads it, shows it modally through Activar,
// reads Guardado and unloads it; unloading stores the window placement.
// Its controls are built in frmConfiguracionControles.cpp; placement, layout
// and keyboard live in frmConfiguracionVentana.cpp; the author's rehearsal
// and checks, and the state shown, in frmConfiguracionTaller.cpp.
class frmConfiguracion : public QDialog
{
    Q_OBJECT

public:
    // Client area at design, twips.
    static constexpr int AnchoDiseno = 14355;
    static constexpr int AltoDiseno = 8280;
    // Smallest client area, twips: every toolbar command still fits.
    static constexpr int AnchoMinimo = 10800;
    static constexpr int AltoMinimo = 6300;

    // The single shared instance: created on first use, loaded by Cargar (or
    // when first shown), unloaded by deleting it.
    static frmConfiguracion& Instancia();
    static bool ExisteInstancia();
    // The inbox's "Configuración" command: load, show modally, unload. A
    // failure while loading or showing propagates to the caller, and the
    // editor is unloaded all the same.
    static void AbrirDesdeBandeja();

    // Where the placement lives in the per-user settings store.
    static QString OrganizacionAjustes();
    static QString AplicacionAjustes();

    ~frmConfiguracion() override;

    // True after a successful save; false when loaded and after Escape.
    bool Guardado = false;

    // Runs Form_Load once; later calls do nothing.
    void Cargar();
    bool Cargado() const { return m_formaCargada; }
    // Shows the editor modally; returns when it is hidden.
    void Activar();
    // Called by the first four statement boxes on gaining (true) and losing
    // (false) the focus: while one of them has it no control is a tab stop,
    // so Tab types a tab character there.
    void Tabulador(bool& EnFoco, QWidget& Forma);

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_QueryUnload();
    // Key codes and Shift masks as the window receives them (Shift 1,
    // Ctrl 2, Alt 4); a handler that acts on a key sets KeyCode to 0.
    void Form_KeyDown(int& KeyCode, int Shift);
    void Form_KeyUp(int& KeyCode, int Shift);

    // Every handler below is a trap boundary: nothing it raises leaves it.
    void txtClave_Cambio();
    void txtClave_Enter();
    void Controles_Guardar(bool& EsNuevo);
    void Controles_Nuevo();
    void Controles_Modificar();
    void Controles_BotonExtra();
    void Controles_Cancelar();
    void Controles_Eliminar();
    void Controles_Reactivar();
    void Controles_Informacion();
    void Controles_Salir();
    // The configuration as the fields hold it, saved or not.
    ConfiguracionAutorizacion ConfiguracionEnPantalla() const;
    // Rehearses it on a pending document (F9); nothing is written.
    void Probar();
    // Every check of the configuration, shown as one message.
    void Verificar();
    // F2 in the key field, or "Buscar" beside it: every configuration that
    // exists, to choose one; the chosen key loads as typing it and
    // confirming it does. Nothing while a new record or an edit is pending.
    void Buscar();
    // Runs with the list of configurations before it is shown (tests drive it).
    void setAlBuscar(std::function<void(class frmBuscarConfiguracion&)> accion) { m_alBuscar = std::move(accion); }
    QToolButton& cmdBuscar() const { return *m_cmdBuscar; }
    // The state of the record shown, and the checks the texts alone answer.
    QLabel& lblEstado() const { return *m_lblEstado; }
    QLabel& lblAvisos() const { return *m_lblAvisos; }

    orvinda::Controles& Controles() const { return *m_controles; }
    orvinda::colorVEX& colorVEX() const { return *m_colorVEX; }
    orvinda::ssTbVex& ssTabVex() const { return *m_ssTab; }
    orvinda::Frame& fr(int pestania) const;
    // Bar control array; the element on each tab is listed in the design.
    orvinda::Shape& sh0(int indice) const;
    orvinda::txtVEX& txtClave() const { return *m_txtClave; }
    orvinda::txtVEX& txtDescripcion() const { return *m_txtDescripcion; }
    orvinda::txtVEX& txtPestania() const { return *m_txtPestania; }
    orvinda::txtVEX& txtTabla() const { return *m_txtTabla; }
    orvinda::txtVEX& txtClave_Principal() const { return *m_txtClave_Principal; }
    orvinda::txtVEX& txtFto_Impresion() const { return *m_txtFto_Impresion; }
    orvinda::txtVEX& txtCampos1() const { return *m_txtCampos1; }
    orvinda::Etiqueta& Etiqueta6() const { return *m_etiqueta6; }
    orvinda::RichTextBox& txtProcedimiento() const { return *m_txtProcedimiento[0]; }
    orvinda::RichTextBox& txtProcedimiento2() const { return *m_txtProcedimiento[1]; }
    orvinda::RichTextBox& txtProcedimiento3() const { return *m_txtProcedimiento[2]; }
    orvinda::RichTextBox& txtProcedimiento4() const { return *m_txtProcedimiento[3]; }
    orvinda::RichTextBox& txtProcedimiento5() const { return *m_txtProcedimiento[4]; }

    // The form's control collection, as Tabulador indexes it.
    const QList<QObject*>& Controls() const { return m_controls; }

protected:
    explicit frmConfiguracion(QWidget* parent = nullptr);
    bool event(QEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

private:
    friend class Trampa;

    void CrearControles();
    orvinda::txtVEX* CrearCampo(QWidget* marco, const char* nombre, int left, int top, int width, int maxlength);
    orvinda::Etiqueta* CrearEtiqueta(QWidget* marco, const char* nombre, const QString& texto, const QString& id,
                                     int left, int top, int width, int height);
    orvinda::RichTextBox* CrearCaja(QWidget* marco, const char* nombre, int top, int height);

    // Bodies of the commands; they raise, their handlers trap.
    void Nuevo();
    void CancelarEdicion();
    bool ClaveLibre();
    bool CamposCompletos();
    QString SentenciaInsertar(const QString& operador, const QString& fecha) const;
    QString SentenciaActualizar(const QString& operador, const QString& fecha) const;
    // Delete and reactivation: one statement in its own transaction, then the
    // editor is emptied.
    void CambiarEstado(const std::function<QString(const QString&, const QString&)>& sentencia, const QString& titulo,
                       const QString& idError, const QString& idDespues, bool limpiarDeNuevo);

    // A stored place that no screen shows any more comes back onto the nearest one.
    void RestaurarPosicion();
    void CrearTaller();
    void ColocarTaller();
    void MostrarEstado();
    void AvisarVerificacion();
    // The strip's line: errors in red ahead of the warnings.
    void MostrarAvisos(const QList<Verificacion::Aviso>& avisos);
    // The strip's text, cut with "…" to its width; whole in its accessible
    // name, and the full report in its tooltip.
    void PonerAvisos(const QString& texto);
    // Every check on the configuration on screen, remembered for Guardar.
    QList<Verificacion::Aviso> VerificarEnPantalla();
    // With errors, whether the author still saves.
    bool GuardarConErrores();
    void Activacion();
    QVariant Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& idError,
                      qsizetype graves = 0);

    bool m_formaCargada = false;
    bool m_copiando = false;
    bool m_activadaTrasMostrar = false;
    int m_dialogosPropios = 0;
    bool m_ignorarActivacion = false;
    QVector<bool> m_tabStops;

    orvinda::colorVEX* m_colorVEX = nullptr;
    orvinda::Controles* m_controles = nullptr;
    orvinda::ssTbVex* m_ssTab = nullptr;
    QVector<orvinda::Frame*> m_fr;
    QVector<orvinda::Shape*> m_sh0;
    orvinda::txtVEX* m_txtClave = nullptr;
    orvinda::txtVEX* m_txtDescripcion = nullptr;
    orvinda::txtVEX* m_txtPestania = nullptr;
    orvinda::txtVEX* m_txtTabla = nullptr;
    orvinda::txtVEX* m_txtClave_Principal = nullptr;
    orvinda::txtVEX* m_txtFto_Impresion = nullptr;
    orvinda::txtVEX* m_txtCampos1 = nullptr;
    orvinda::Etiqueta* m_etiqueta6 = nullptr;
    QVector<orvinda::RichTextBox*> m_txtProcedimiento;
    QList<QObject*> m_controls;
    QLabel* m_lblEstado = nullptr;
    QLabel* m_lblAvisos = nullptr;
    QString m_textoAvisos;
    QToolButton* m_cmdVerificar = nullptr;
    QToolButton* m_cmdProbar = nullptr;
    QToolButton* m_cmdBuscar = nullptr;
    std::function<void(class frmBuscarConfiguracion&)> m_alBuscar;
    QTimer* m_verificacionPendiente = nullptr;
    std::optional<std::pair<ConfiguracionAutorizacion, QList<Verificacion::Aviso>>> m_verificada;
};

} // namespace rm640
