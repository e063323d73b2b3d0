#include "host/controles/Controles.h"

#include "host/controles/Twips.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvinda {

namespace {

bool EsSi(const QString& valor)
{
    return valor.trimmed().compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0;
}

} // namespace

Controles::Controles(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);

    m_titulo = new QLabel(this);
    m_titulo->setObjectName(QStringLiteral("lblTitulo"));
    QFont fuenteTitulo = m_titulo->font();
    fuenteTitulo.setBold(true);
    fuenteTitulo.setPointSizeF(11.0);
    m_titulo->setFont(fuenteTitulo);

    m_auxiliar = new QLabel(this);
    m_auxiliar->setObjectName(QStringLiteral("lblAuxiliar"));
    m_auxiliar->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // It takes the room the title leaves and no more: a long text is cut at
    // its end, never pushed over the title.
    m_auxiliar->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_auxiliar->installEventFilter(this);
    m_accionAuxiliar = new QToolButton(this);
    m_accionAuxiliar->setObjectName(QStringLiteral("cmdAccionAuxiliar"));
    m_accionAuxiliar->setAutoRaise(true);
    m_accionAuxiliar->setFocusPolicy(Qt::TabFocus);
    m_accionAuxiliar->setStyleSheet(QStringLiteral("QToolButton { color: #00538a; text-decoration: underline; }"));
    m_accionAuxiliar->hide();

    m_nuevo = CrearBoton("cmdNuevo", tr("Nuevo"));
    m_modificar = CrearBoton("cmdModificar", tr("Modificar"));
    m_guardar = CrearBoton("cmdGuardar", tr("Guardar"));
    m_cancelar = CrearBoton("cmdCancelar", tr("Cancelar"));
    m_eliminar = CrearBoton("cmdEliminar", tr("Eliminar"));
    m_reactivar = CrearBoton("cmdReactivar", tr("Reactivar"));
    m_informacion = CrearBoton("cmdInformacion", QStringLiteral("i"));
    m_informacion->setToolTip(tr("Información"));
    m_informacion->setAccessibleName(tr("Información"));
    m_extra = CrearBoton("cmdExtra", QString());
    m_salir = CrearBoton("cmdSalir", tr("Salir"));

    auto* filaTitulo = new QHBoxLayout;
    filaTitulo->addWidget(m_titulo);
    filaTitulo->addWidget(m_auxiliar, 1);
    filaTitulo->addWidget(m_accionAuxiliar);

    auto* filaBotones = new QHBoxLayout;
    filaBotones->setSpacing(2);
    for (QToolButton* b : {m_nuevo, m_modificar, m_guardar, m_cancelar, m_eliminar, m_reactivar, m_informacion})
        filaBotones->addWidget(b);
    filaBotones->addStretch(1);
    filaBotones->addWidget(m_extra);
    filaBotones->addWidget(m_salir);
    m_filaBotones = filaBotones;

    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(8, 4, 8, 4);
    columna->setSpacing(2);
    columna->addLayout(filaTitulo);
    columna->addLayout(filaBotones);

    connect(m_nuevo, &QToolButton::clicked, this, &Controles::PulsarNuevo);
    connect(m_modificar, &QToolButton::clicked, this, &Controles::PulsarModificar);
    connect(m_guardar, &QToolButton::clicked, this, &Controles::PulsarGuardar);
    connect(m_cancelar, &QToolButton::clicked, this, &Controles::PulsarCancelar);
    connect(m_eliminar, &QToolButton::clicked, this, &Controles::Eliminar);
    connect(m_reactivar, &QToolButton::clicked, this, &Controles::Reactivar);
    connect(m_informacion, &QToolButton::clicked, this, &Controles::Informacion);
    connect(m_extra, &QToolButton::clicked, this, &Controles::BotonExtra);
    connect(m_salir, &QToolButton::clicked, this, &Controles::Salir);
    connect(m_accionAuxiliar, &QToolButton::clicked, this, &Controles::AccionAuxiliar);

    ActualizarEstilo();
    ActualizarTextos();
    ActualizarBotones();
}

QToolButton* Controles::CrearBoton(const char* nombre, const QString& texto)
{
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(nombre));
    b->setText(texto);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);
    // Tab reaches the commands too (after the form's fields when the form
    // orders them so); Space or Enter presses the one with the focus.
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

void Controles::setTabStop(bool si)
{
    m_tabStop = si;
    for (QToolButton* b :
         {m_nuevo, m_modificar, m_guardar, m_cancelar, m_eliminar, m_reactivar, m_informacion, m_extra, m_salir})
        b->setFocusPolicy(si ? Qt::TabFocus : Qt::NoFocus);
}

void Controles::setTextoBotonExtra(const QString& texto)
{
    m_textoExtra = texto;
    m_extra->setText(texto);
    ActualizarBotones();
}

void Controles::AgregarAccesorio(QWidget* accesorio)
{
    m_filaBotones->insertWidget(m_filaBotones->indexOf(m_extra), accesorio);
}

QString Controles::TextoAuxiliar() const
{
    return m_textoAuxiliar;
}
void Controles::setTextoAuxiliar(const QString& texto)
{
    setAvisoAuxiliar(texto, false, QString());
}

void Controles::setAvisoAuxiliar(const QString& texto, bool grave, const QString& accion, const QString& detalle)
{
    m_textoAuxiliar = texto;
    m_auxiliar->setToolTip(detalle.isEmpty() || detalle == texto ? texto : texto + QStringLiteral("\n") + detalle);
    m_auxiliar->setAccessibleName(texto);
    AjustarAuxiliar();
    // Dark red reads at 7:1 on the bar.
    m_auxiliar->setStyleSheet(grave ? QStringLiteral("QLabel { color: #9b1414; font-weight: bold; }") : QString());
    m_accionAuxiliar->setText(accion);
    m_accionAuxiliar->setAccessibleName(accion.isEmpty() ? QString() : accion + QStringLiteral(": ") + texto);
    m_accionAuxiliar->setVisible(!accion.isEmpty());
}

void Controles::AjustarAuxiliar()
{
    m_auxiliar->setText(
        m_auxiliar->fontMetrics().elidedText(m_textoAuxiliar, Qt::ElideRight, m_auxiliar->contentsRect().width()));
}

bool Controles::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == m_auxiliar && evento->type() == QEvent::Resize)
        AjustarAuxiliar();
    return QFrame::eventFilter(objeto, evento);
}

void Controles::setHabilitarInformacion(bool si)
{
    m_habInformacion = si;
    ActualizarBotones();
}
void Controles::setHabilitarModificar(bool si)
{
    m_habModificar = si;
    ActualizarBotones();
}
void Controles::setHabilitarEliminar(bool si)
{
    m_habEliminar = si;
    ActualizarBotones();
}
void Controles::setHabilitarReactivar(bool si)
{
    m_habReactivar = si;
    ActualizarBotones();
}
void Controles::setModoCatalogo(bool si)
{
    m_catalogo = si;
    ActualizarBotones();
}

QString Controles::caption() const
{
    return m_titulo->text();
}
void Controles::setCaption(const QString& texto)
{
    m_titulo->setText(texto);
    setAccessibleName(texto);
}

void Controles::setEasyaccessenabled(const QString& siNo)
{
    m_accesoRapido = siNo;
    ActualizarTextos();
}

void Controles::setShowexitbutton(const QString& siNo)
{
    m_botonSalir = siNo;
    ActualizarBotones();
}

void Controles::setCaptionbuttonsize(int twips)
{
    m_anchoBoton = qMax(0, twips);
    const int ancho = Twips::APixeles(m_anchoBoton);
    for (QToolButton* b : findChildren<QToolButton*>())
        b->setMinimumWidth(b == m_informacion ? 0 : ancho);
}

void Controles::setColores(const QColor& fondo, const QColor& resalte, const QColor& seleccion)
{
    m_colorFondo = fondo;
    m_colorResalte = resalte;
    m_colorSeleccion = seleccion;
    ActualizarEstilo();
}

void Controles::ActivarBarra(bool Reiniciar)
{
    if (Reiniciar) {
        m_modo = Modo::Consulta;
        m_guardando = false;
    }
    ActualizarBotones();
}

void Controles::RestaurarBotones()
{
    m_guardando = false;
    ActualizarBotones();
}

void Controles::ConfirmarGuardado()
{
    m_modo = Modo::Consulta;
    m_guardando = false;
    ActualizarBotones();
}

void Controles::EjecutarNuevo(bool Forzar)
{
    if (EnEdicion() && !Forzar)
        return;
    PulsarNuevo();
}

void Controles::PulsarNuevo()
{
    m_modo = Modo::Nuevo;
    m_guardando = false;
    ActualizarBotones();
    emit Nuevo();
}

void Controles::PulsarModificar()
{
    m_modo = Modo::Edicion;
    m_guardando = false;
    ActualizarBotones();
    emit Modificar();
}

void Controles::PulsarGuardar()
{
    if (!EnEdicion() || m_guardando)
        return;
    m_guardando = true;
    ActualizarBotones();
    bool esNuevo = m_modo == Modo::Nuevo;
    emit Guardar(esNuevo);
}

void Controles::PulsarCancelar()
{
    // Browse mode first: the form's cancel handler clears fields, and their
    // change handlers must already see that no edit is pending.
    m_modo = Modo::Consulta;
    m_guardando = false;
    ActualizarBotones();
    emit Cancelar();
}

void Controles::ActualizarBotones()
{
    const bool consulta = m_modo == Modo::Consulta;
    const bool registros = consulta && m_catalogo;

    m_nuevo->setVisible(registros);
    m_modificar->setVisible(registros);
    m_modificar->setEnabled(m_habModificar);
    m_eliminar->setVisible(registros);
    m_eliminar->setEnabled(m_habEliminar);
    m_reactivar->setVisible(registros);
    m_reactivar->setEnabled(m_habReactivar);
    m_informacion->setVisible(registros);
    m_informacion->setEnabled(m_habInformacion);

    m_guardar->setVisible(!consulta);
    m_guardar->setEnabled(!m_guardando);
    m_cancelar->setVisible(!consulta);
    m_cancelar->setEnabled(!m_guardando);

    m_extra->setVisible(consulta && !m_textoExtra.isEmpty());
    m_salir->setVisible(EsSi(m_botonSalir));
}

void Controles::ActualizarTextos()
{
    const bool acceso = EsSi(m_accesoRapido);
    auto poner
        = [acceso](QToolButton* b, const QString& texto) { b->setText(acceso ? QLatin1Char('&') + texto : texto); };
    poner(m_nuevo, tr("Nuevo"));
    poner(m_modificar, tr("Modificar"));
    poner(m_guardar, tr("Guardar"));
    poner(m_cancelar, tr("Cancelar"));
    poner(m_eliminar, tr("Eliminar"));
    poner(m_reactivar, tr("Reactivar"));
    poner(m_salir, tr("Salir"));
}

void Controles::ActualizarEstilo()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, m_colorFondo);
    setPalette(p);
    m_titulo->setStyleSheet(QStringLiteral("color: rgb(0, 83, 138);"));
    setStyleSheet(QStringLiteral("QToolButton { border: 1px solid transparent; border-radius: 2px; padding: 2px 8px; "
                                 "background: transparent; }"
                                 "QToolButton:hover { background: %1; border-color: %2; }"
                                 "QToolButton:pressed { background: %2; }"
                                 "QToolButton:focus { border: 1px solid rgb(0, 83, 138); }"
                                 "QToolButton:disabled { color: rgb(128, 128, 128); }")
                      .arg(m_colorResalte.name(), m_colorSeleccion.name()));
}

void Controles::mousePressEvent(QMouseEvent* e)
{
    if (m_permitirMover && e->button() == Qt::LeftButton)
        m_arrastre = e->globalPosition().toPoint() - window()->frameGeometry().topLeft();
    QFrame::mousePressEvent(e);
}

void Controles::mouseMoveEvent(QMouseEvent* e)
{
    QWidget* ventana = window();
    if (m_permitirMover && (e->buttons() & Qt::LeftButton) && ventana->isWindow()
        && !(ventana->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        ventana->move(e->globalPosition().toPoint() - m_arrastre);
        return;
    }
    QFrame::mouseMoveEvent(e);
}

void Controles::contextMenuEvent(QContextMenuEvent* e)
{
    if (!EsSi(m_menuEmergente)) {
        QFrame::contextMenuEvent(e);
        return;
    }
    QMenu menu(this);
    for (QToolButton* b :
         {m_nuevo, m_modificar, m_guardar, m_cancelar, m_eliminar, m_reactivar, m_informacion, m_extra, m_salir}) {
        if (b->isHidden())
            continue;
        QAction* accion = menu.addAction(b == m_informacion ? b->toolTip() : b->text());
        accion->setEnabled(b->isEnabled());
        connect(accion, &QAction::triggered, b, &QToolButton::click);
    }
    menu.exec(e->globalPos());
}

} // namespace orvinda
