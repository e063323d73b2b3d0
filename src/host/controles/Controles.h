#pragma once

#include <QColor>
#include <QFrame>
#include <QPoint>

class QHBoxLayout;
class QLabel;
class QToolButton;

namespace orvinda {

// Title bar and command toolbar of a screen. It owns the command mode
// (browse, new record, editing) and shows only the buttons that make sense in
// that mode, so a form never receives a command its state cannot take.
//
// Browse: Nuevo, Modificar, Eliminar, Reactivar, Informacion (the last four
// enabled by their Habilitar flags; all five only in catalogue mode), the
// extra button while it has a caption. New and editing: Guardar, Cancelar.
// Salir in every mode when "showexitbutton" is "SI".
//
// Pressing Guardar disables Guardar and Cancelar until the form answers with
// ConfirmarGuardado (saved: back to browse) or RestaurarBotones (refused or
// failed: same mode, buttons back), so a save cannot start twice.
class Controles : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString TextoBotonExtra READ TextoBotonExtra WRITE setTextoBotonExtra)
    Q_PROPERTY(QString TextoAuxiliar READ TextoAuxiliar WRITE setTextoAuxiliar)
    Q_PROPERTY(bool HabilitarInformacion READ HabilitarInformacion WRITE setHabilitarInformacion)
    Q_PROPERTY(bool HabilitarModificar READ HabilitarModificar WRITE setHabilitarModificar)
    Q_PROPERTY(bool HabilitarEliminar READ HabilitarEliminar WRITE setHabilitarEliminar)
    Q_PROPERTY(bool HabilitarReactivar READ HabilitarReactivar WRITE setHabilitarReactivar)
    Q_PROPERTY(bool ModoCatalogo READ ModoCatalogo WRITE setModoCatalogo)
    Q_PROPERTY(bool EnEdicion READ EnEdicion)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(int tabwidth READ tabwidth WRITE setTabwidth)
    Q_PROPERTY(QString easyaccessenabled READ easyaccessenabled WRITE setEasyaccessenabled)
    Q_PROPERTY(QString showmenupopup READ showmenupopup WRITE setShowmenupopup)
    Q_PROPERTY(QString showwindowslist READ showwindowslist WRITE setShowwindowslist)
    Q_PROPERTY(QString showexitbutton READ showexitbutton WRITE setShowexitbutton)
    Q_PROPERTY(bool permitir_mover READ permitir_mover WRITE setPermitir_mover)
    Q_PROPERTY(int captionbuttonsize READ captionbuttonsize WRITE setCaptionbuttonsize)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    enum class Modo { Consulta, Nuevo, Edicion };
    Q_ENUM(Modo)

    explicit Controles(QWidget* parent = nullptr);

    QString TextoBotonExtra() const { return m_textoExtra; }
    void setTextoBotonExtra(const QString& texto);
    QString TextoAuxiliar() const;
    // Plain text, without a notice's colour or action.
    void setTextoAuxiliar(const QString& texto);
    // A notice in the same place, nothing to dismiss: red when grave, and
    // with a command beside it (accion, its caption, empty for none) that
    // emits AccionAuxiliar. detalle is the text's tooltip.
    void setAvisoAuxiliar(const QString& texto, bool grave, const QString& accion, const QString& detalle = {});
    QToolButton& cmdAccionAuxiliar() const { return *m_accionAuxiliar; }
    bool HabilitarInformacion() const { return m_habInformacion; }
    void setHabilitarInformacion(bool si);
    bool HabilitarModificar() const { return m_habModificar; }
    void setHabilitarModificar(bool si);
    bool HabilitarEliminar() const { return m_habEliminar; }
    void setHabilitarEliminar(bool si);
    bool HabilitarReactivar() const { return m_habReactivar; }
    void setHabilitarReactivar(bool si);
    bool ModoCatalogo() const { return m_catalogo; }
    void setModoCatalogo(bool si);

    bool EnEdicion() const { return m_modo != Modo::Consulta; }
    Modo ModoActual() const { return m_modo; }
    // True between pressing Guardar and the form's answer.
    bool GuardadoPendiente() const { return m_guardando; }

    QString caption() const;
    void setCaption(const QString& texto);
    int tabwidth() const { return m_tabwidth; }
    void setTabwidth(int twips) { m_tabwidth = twips; }
    // "SI": the command captions get Alt access keys.
    QString easyaccessenabled() const { return m_accesoRapido; }
    void setEasyaccessenabled(const QString& siNo);
    // "SI": a right click on the bar offers the visible commands as a menu.
    QString showmenupopup() const { return m_menuEmergente; }
    void setShowmenupopup(const QString& siNo) { m_menuEmergente = siNo; }
    // Kept for the shell; the bar shows no window list of its own.
    QString showwindowslist() const { return m_listaVentanas; }
    void setShowwindowslist(const QString& siNo) { m_listaVentanas = siNo; }
    QString showexitbutton() const { return m_botonSalir; }
    void setShowexitbutton(const QString& siNo);
    // Dragging the title bar moves the window.
    bool permitir_mover() const { return m_permitirMover; }
    void setPermitir_mover(bool si) { m_permitirMover = si; }
    // Least width of the command buttons, in twips; 0 sizes them to their text.
    int captionbuttonsize() const { return m_anchoBoton; }
    void setCaptionbuttonsize(int twips);

    // The command buttons are tab stops (Tab reaches them, Space or Enter
    // presses them) unless a form takes that away for a while.
    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool si);

    // Scheme colours: bar background, hovered button, pressed button.
    void setColores(const QColor& fondo, const QColor& resalte, const QColor& seleccion);

    // A form's own widget in the button row, left of the extra button.
    void AgregarAccesorio(QWidget* accesorio);

    // On window activation: brings the buttons up to date; with true it also
    // drops a pending edit and returns to browse mode.
    void ActivarBarra(bool Reiniciar);
    void RestaurarBotones();
    void ConfirmarGuardado();
    // As pressing Nuevo. While an edit is pending it only acts with Forzar.
    void EjecutarNuevo(bool Forzar);

signals:
    void Nuevo();
    void Modificar();
    void Informacion();
    void Reactivar();
    void Eliminar();
    void Cancelar();
    void Salir();
    void BotonExtra();
    void Guardar(bool& EsNuevo);
    void AccionAuxiliar();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void AjustarAuxiliar();
    QToolButton* CrearBoton(const char* nombre, const QString& texto);
    void PulsarNuevo();
    void PulsarModificar();
    void PulsarGuardar();
    void PulsarCancelar();
    void ActualizarBotones();
    void ActualizarTextos();
    void ActualizarEstilo();

    QHBoxLayout* m_filaBotones = nullptr;
    QLabel* m_titulo = nullptr;
    QLabel* m_auxiliar = nullptr;
    QToolButton* m_accionAuxiliar = nullptr;
    // The status text whole; the label shows as much of its start as fits.
    QString m_textoAuxiliar;
    QToolButton* m_nuevo = nullptr;
    QToolButton* m_modificar = nullptr;
    QToolButton* m_guardar = nullptr;
    QToolButton* m_cancelar = nullptr;
    QToolButton* m_eliminar = nullptr;
    QToolButton* m_reactivar = nullptr;
    QToolButton* m_informacion = nullptr;
    QToolButton* m_extra = nullptr;
    QToolButton* m_salir = nullptr;

    Modo m_modo = Modo::Consulta;
    bool m_guardando = false;
    bool m_habInformacion = false;
    bool m_habModificar = false;
    bool m_habEliminar = false;
    bool m_habReactivar = false;
    bool m_catalogo = false;
    QString m_textoExtra;
    int m_tabwidth = 0;
    QString m_accesoRapido = QStringLiteral("NO");
    QString m_menuEmergente = QStringLiteral("NO");
    QString m_listaVentanas = QStringLiteral("NO");
    QString m_botonSalir = QStringLiteral("SI");
    bool m_permitirMover = false;
    bool m_tabStop = true;
    int m_anchoBoton = 0;
    QColor m_colorFondo{179, 204, 221};
    QColor m_colorResalte{245, 236, 203};
    QColor m_colorSeleccion{226, 213, 156};
    QPoint m_arrastre;
};

} // namespace orvinda
