#include "review/frmAutorizacion.h"

#include "host/bitacora/EscrituraBitacora.h"
#include "host/controles/AjusteVentana.h"
#include "host/controles/Twips.h"
#include "host/controles/WebBrowser.h"
#include "host/controles/flatButton.h"
#include "host/servicios/Sistema.h"
#include "publico/FormaUnica.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/ReglasDePagina.h"
#include "review/RevisionDocumento.h"
#include "review/frmRechazar.h"

#include <QApplication>
#include <QCheckBox>
#include <QChildEvent>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <memory>
#include <utility>

using orvinda::Twips;

namespace rm640 {

frmAutorizacion& frmAutorizacion::Load(QWidget* propietario)
{
    frmAutorizacion& forma
        = FormaUnica<frmAutorizacion>::Obtener([propietario] { return new frmAutorizacion(propietario); });
    if (!forma.m_formaCargada)
        forma.Form_Load();
    return forma;
}

frmAutorizacion& frmAutorizacion::Instancia()
{
    return FormaUnica<frmAutorizacion>::Obtener([] { return new frmAutorizacion(nullptr); });
}

bool frmAutorizacion::ExisteInstancia()
{
    return FormaUnica<frmAutorizacion>::Existe();
}

void frmAutorizacion::Unload()
{
    FormaUnica<frmAutorizacion>::Descargar();
}

frmAutorizacion::frmAutorizacion(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAutorizacion"));
    setWindowTitle(QStringLiteral("Autorización"));
    // Made for reading: it grows and maximizes, never below its design.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setMinimumSize(Twips::APixeles(AnchoDiseno), Twips::APixeles(AltoDiseno));
    resize(minimumSize());

    m_webBrowser1 = new orvinda::WebBrowser(this);
    m_webBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    m_webBrowser1->setAccessibleName(QStringLiteral("Documento"));
    // The page's widgets come and go with its renderer; each is watched,
    // from before the page arrives.
    m_webBrowser1->installEventFilter(this);
    // The document is data: its own script never runs, and it reaches
    // nothing outside the shell. The page outlives the dialog, warm for the
    // next document.
    m_webBrowser1->TomarPaginaGuardada();
    Twips::Mover(m_webBrowser1, 120, 120, 8535, 5655);
    connect(m_webBrowser1, &orvinda::WebBrowser::DocumentComplete, this,
            &frmAutorizacion::WebBrowser1_DocumentComplete);

    m_cmdAutorizado = orvinda::flatButton::CrearEnDialogo(this, "CmdAutorizado", QStringLiteral("Autorizar"), 3000,
                                                          5880, 1815, 375);
    m_cmdRechazar
        = orvinda::flatButton::CrearEnDialogo(this, "CmdRechazar", QStringLiteral("Rechazar"), 4920, 5880, 1935, 375);
    m_cmdCancelar
        = orvinda::flatButton::CrearEnDialogo(this, "cmdCacelar", QStringLiteral("Cancelar"), 6960, 5880, 1815, 375);
    connect(m_cmdAutorizado, &orvinda::flatButton::Click, this, &frmAutorizacion::CmdAutorizado_Click);
    connect(m_cmdRechazar, &orvinda::flatButton::Click, this, &frmAutorizacion::CmdRechazar_Click);
    connect(m_cmdCancelar, &orvinda::flatButton::Click, this, &frmAutorizacion::cmdCancelar_Click);

    // Alt keys answer from the page too; the captions stay as they are.
    for (orvinda::flatButton* boton : {m_cmdAutorizado, m_cmdRechazar, m_cmdCancelar})
        boton->MostrarAtajo();

    m_chkAbrirSiguiente = new QCheckBox(QStringLiteral("Abrir el siguiente al terminar"), this);
    m_chkAbrirSiguiente->setObjectName(QStringLiteral("chkAbrirSiguiente"));
    m_chkAbrirSiguiente->setFont(m_cmdAutorizado->font());
    m_chkAbrirSiguiente->setToolTip(
        QStringLiteral("Tras autorizar o rechazar, muestra aquí el siguiente documento de la lista"));
    connect(m_chkAbrirSiguiente, &QCheckBox::toggled, this, [this] { Trampa::Intentar([this] { GuardarOpcion(); }); });

    setTabOrder(m_webBrowser1, m_cmdAutorizado);
    setTabOrder(m_cmdAutorizado, m_cmdRechazar);
    setTabOrder(m_cmdRechazar, m_cmdCancelar);
    setTabOrder(m_cmdCancelar, m_chkAbrirSiguiente);
    Colocar();
}

frmAutorizacion::~frmAutorizacion() = default;

void frmAutorizacion::Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& id)
{
    Trampa::Mostrar(this, mensaje, estilo, titulo, id);
}

void frmAutorizacion::Form_Load()
{
    m_formaCargada = true;
    m_urlBase = Publico::Sistema->LeerParametro(QStringLiteral("GEN_URL"), 1, QString(), QString()).toString();
    m_procesado = false;
    Trampa::Intentar([this] { RestaurarVentana(); });
}

void frmAutorizacion::Form_Activate()
{
    m_activa = true;
    ++m_activaciones;
    m_pagina = RevisionDocumento::Pagina(m_urlBase);
    // Until the page holds the document again, nothing acts on it.
    m_documentoListo = false;
    ++m_generacion;
    m_webBrowser1->Navigate(m_pagina);
    m_webBrowser1->setFocus();
}

void frmAutorizacion::ActivarSiFalta()
{
    if (!isVisible() || m_activa)
        return;
    Trampa::Atrapar(*this, QStringLiteral("Form_Activate()"), QStringLiteral("ERR-ID:7500054"),
                    [this] { Form_Activate(); });
}

void frmAutorizacion::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous())
        m_primerDocumento = true;
    if (!m_formaCargada)
        Trampa::Atrapar(*this, QStringLiteral("Form_Load()"), QStringLiteral("ERR-ID:7500053"),
                        [this] { Form_Load(); });
    orvinda::AjusteVentana::CaberEnPantalla(*this);
    // Activation may never come from the window system (offscreen, or an
    // unfocused desktop): the showing itself activates the form.
    QTimer::singleShot(0, this, &frmAutorizacion::ActivarSiFalta);
}

void frmAutorizacion::hideEvent(QHideEvent* evento)
{
    QDialog::hideEvent(evento);
    m_activa = false;
    m_retenida = Accion::Ninguna;
    m_esperandoLista = false;
    Trampa::Intentar([this] { GuardarVentana(); });
}

void frmAutorizacion::changeEvent(QEvent* evento)
{
    QDialog::changeEvent(evento);
    if (evento->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow()) {
        ActivarSiFalta();
        return;
    }
    // Leaving for a message box or for another application is no new
    // activation on return: the page, and what was typed into it, stay.
    QWidget* nueva = QApplication::activeWindow();
    if (nueva && nueva != this && !qobject_cast<QMessageBox*>(nueva))
        m_activa = false;
}

bool frmAutorizacion::Atajo(const QKeyEvent& tecla)
{
    // Ctrl+PageDown / Ctrl+PageUp and Alt+Right / Alt+Left move along the
    // list; PageDown alone is the page's, and scrolls it.
    const Qt::KeyboardModifiers m = tecla.modifiers() & ~Qt::KeypadModifier;
    int paso = 0;
    if (m == Qt::ControlModifier && (tecla.key() == Qt::Key_PageDown || tecla.key() == Qt::Key_PageUp))
        paso = tecla.key() == Qt::Key_PageDown ? 1 : -1;
    else if (m == Qt::AltModifier && (tecla.key() == Qt::Key_Right || tecla.key() == Qt::Key_Left))
        paso = tecla.key() == Qt::Key_Right ? 1 : -1;
    if (paso != 0) {
        Avanzar(paso);
        return true;
    }
    return orvinda::flatButton::Atajo(tecla, {m_cmdAutorizado, m_cmdRechazar, m_cmdCancelar});
}

void frmAutorizacion::keyPressEvent(QKeyEvent* evento)
{
    if (Atajo(*evento)) {
        evento->accept();
        return;
    }
    if (evento->key() == Qt::Key_Escape) {
        Form_KeyDown(27, static_cast<int>(evento->modifiers()));
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

bool frmAutorizacion::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == m_webBrowser1 && (evento->type() == QEvent::ChildAdded || evento->type() == QEvent::ChildPolished)) {
        if (auto* hijo = qobject_cast<QWidget*>(static_cast<QChildEvent*>(evento)->child()))
            hijo->installEventFilter(this);
        return false;
    }
    // Escape is honoured while the page has the keyboard too: the page
    // itself never sees it.
    if (evento->type() == QEvent::KeyPress && objeto != this) {
        auto* tecla = static_cast<QKeyEvent*>(evento);
        if (tecla->key() == Qt::Key_Escape) {
            Form_KeyDown(27, static_cast<int>(tecla->modifiers()));
            return true;
        }
        if (Atajo(*tecla))
            return true;
    }
    return QDialog::eventFilter(objeto, evento);
}

void frmAutorizacion::Form_KeyDown(int KeyCode, int)
{
    if (KeyCode == 27)
        cmdCancelar_Click();
}

void frmAutorizacion::closeEvent(QCloseEvent* evento)
{
    // Hidden, not destroyed: the caller still reads Procesado.
    m_procesado = false;
    hide();
    evento->ignore();
}

void frmAutorizacion::reject()
{
    cmdCancelar_Click();
}

void frmAutorizacion::WebBrowser1_DocumentComplete()
{
    Trampa::Intentar([this] {
        // Nothing to put in: the page as served is what is shown.
        if (m_plantilla.isEmpty()) {
            AlMostrarse();
            return;
        }
        PonerPlantilla();
    });
}

void frmAutorizacion::PonerPlantilla()
{
    m_documentoListo = false;
    const int generacion = ++m_generacion;
    // The answer may come while the dialog is being destroyed, when a
    // QPointer would still hold it: the token is gone by then.
    std::weak_ptr<int> vivo = m_testigo;
    m_webBrowser1->ReemplazarCuerpo(m_plantilla, [this, vivo, generacion] {
        if (!vivo.lock() || generacion != m_generacion)
            return;
        AlMostrarse();
        emit PlantillaMostrada();
    });
}

void frmAutorizacion::AlMostrarse()
{
    m_documentoListo = true;
    m_mostradoDesde.start();
    const Accion retenida = std::exchange(m_retenida, Accion::Ninguna);
    if (retenida == Accion::Ninguna || !isVisible() || m_retenidaDesde.elapsed() > m_webBrowser1->Timeout())
        return;
    // Queued: the page's answer is done with before the decision reads it.
    QTimer::singleShot(0, this, [this, retenida] {
        if (retenida == Accion::Autorizar)
            CmdAutorizado_Click();
        else
            CmdRechazar_Click();
    });
}

bool frmAutorizacion::Retener(Accion accion)
{
    if (m_documentoListo && !m_esperandoLista) {
        // Just shown after moving along the list: the press was meant for
        // the document before it.
        return !m_primerDocumento && m_mostradoDesde.isValid() && m_mostradoDesde.elapsed() < GuardaTrasCambioMs;
    }
    // Only the document the dialog opens on holds a press until it shows;
    // one pressed while the list's next one or a neighbour comes in, or
    // while the decided document waits for the list, was meant for a
    // document no longer there.
    if (m_primerDocumento && !m_esperandoLista && isVisible()) {
        m_retenida = accion;
        m_retenidaDesde.start();
    }
    return true;
}

void frmAutorizacion::MostrarDocumento(const Documento& documento)
{
    m_plantilla = documento.plantilla;
    m_tabla = documento.tabla;
    m_campos = documento.campos;
    m_clave = documento.clave;
    m_folio = documento.folio;
    m_posicion = documento.posicion;
    m_total = documento.total;
    m_procesado = false;
    m_retenida = Accion::Ninguna;
    m_primerDocumento = false;
    ActualizarTitulo();
    Trampa::Intentar([this] { PonerPlantilla(); });
}

bool frmAutorizacion::Avanzar(int paso)
{
    if (!m_recorrido.vecino || m_esperandoLista || !isVisible())
        return false;
    std::optional<Documento> vecino;
    Trampa::Intentar([&] { vecino = m_recorrido.vecino(paso); });
    if (!vecino)
        return false;
    MostrarDocumento(*vecino);
    return true;
}

void frmAutorizacion::Concluir()
{
    m_procesado = true;
    if (!m_chkAbrirSiguiente->isChecked() || !m_recorrido.trasDecidir) {
        hide();
        return;
    }
    // The decided document stays in sight, inert, until the list has been
    // read again and says which one follows: no window closes and opens.
    m_esperandoLista = true;
    m_retenida = Accion::Ninguna;
    std::weak_ptr<int> vivo = m_testigo;
    m_recorrido.trasDecidir([this, vivo](std::optional<Documento> siguiente) {
        if (!vivo.lock() || !m_esperandoLista)
            return;
        m_esperandoLista = false;
        if (!siguiente || !isVisible()) {
            hide();
            return;
        }
        MostrarDocumento(*siguiente);
    });
}

void frmAutorizacion::cmdCancelar_Click()
{
    m_procesado = false;
    hide();
}

void frmAutorizacion::CmdAutorizado_Click()
{
    if (Retener(Accion::Autorizar))
        return;
    const auto reportar = [this](const QString& m, int estilo, const QString& titulo, const QString& id) {
        Reportar(m, estilo, titulo, id);
    };
    // A failure here means the operator or the date could not be read:
    // nothing was started.
    RevisionDocumento::Autorizacion autorizacion;
    Trampa::Intentar([this] { m_webBrowser1->QuitarMarcas(); });
    Trampa::Atrapar(*this, QStringLiteral("CmdAutorizado_Click()"), QStringLiteral("ERR-ID:7500050"), [&] {
        autorizacion = RevisionDocumento::Autorizar(reportar, m_clave, m_tabla, m_folio, m_campos, *m_webBrowser1);
    });
    if (!autorizacion.ejecutada && !autorizacion.sinCambios) {
        // The reviewer's next keystroke goes where the message sent them.
        if (!autorizacion.campoFaltante.isEmpty())
            Trampa::Intentar([&] { m_webBrowser1->EnfocarYMarcar(autorizacion.campoFaltante); });
        return;
    }
    // Committed, or decided by someone else first: whatever the printing
    // says (it goes on in the background), the document leaves the inbox.
    RevisionDocumento::Concluir(reportar, autorizacion, m_clave, m_folio);
    Concluir();
}

void frmAutorizacion::CmdRechazar_Click()
{
    if (Retener(Accion::Rechazar))
        return;
    Trampa::Atrapar(*this, QStringLiteral("CmdRechazar_Click()"), QStringLiteral("ERR-ID:7500052"), [this] {
        // The requester is known from the rendering: no comment is asked of
        // whoever may not reject.
        const QString solicitante = RevisionDocumento::SolicitanteMostrado(m_clave, m_folio);
        if (!solicitante.isEmpty() && RevisionDocumento::EsPropia(solicitante, Publico::Sistema->ObtenerOperador())) {
            Reportar(RevisionDocumento::PropiaSolicitud(QStringLiteral("rechazar"), m_folio, solicitante),
                     orvinda::Sistema::EstiloAdvertencia, QStringLiteral("Rechazar"), QStringLiteral("ERR-ID:7500066"));
            return;
        }
        // Refused as an authorization is, before a comment is asked for.
        orvinda::EscrituraBitacora::Exigir(Publico::Conexion());
        // Read now, outside any transaction; the page does not change while
        // the comment is written.
        const orvinda::WebBrowser::Lectura lectura = m_webBrowser1->LeerCampos(ReglasDePagina::Nombres(m_campos));
        const AnotacionDecision::Valores valores
            = AnotacionDecision::Leer(m_campos, [&lectura](const QString& campo) { return lectura.Valor(campo); });
        const int antes = m_activaciones;
        frmRechazar& rechazo = frmRechazar::Load(this);
        rechazo.setValores(valores);
        rechazo.setTabla(m_tabla);
        rechazo.setFolio(m_folio);
        rechazo.setClave(m_clave);
        rechazo.setComentario(frmRechazar::ComentarioEnPagina(*m_webBrowser1));
        rechazo.exec();
        if (rechazo.Procesado()) {
            frmRechazar::Unload();
            Concluir();
            return;
        }
        frmRechazar::Unload();
        // Coming back from the comment dialog is a new activation: the page
        // is loaded again, with the document put back into it. Where the
        // window system does not say so, this says it.
        QTimer::singleShot(0, this, [this, antes] {
            if (m_activaciones != antes)
                return;
            m_activa = false;
            ActivarSiFalta();
        });
    });
}

} // namespace rm640
