#include "review/AutorizacionEnLote.h"

#include "host/controles/WebBrowser.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/ReglasDePagina.h"
#include "review/RevisionDocumento.h"

#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace rm640 {

namespace {

QString BuscarEnConfiguracion(const QString& clave, const QString& columna)
{
    return Publico::Utilerias->BuscarValor(QStringLiteral("Configuracion_Autorizacion"),
                                           QStringLiteral("Ca_Cve_Configuracion_Autorizacion"), clave, columna, 0,
                                           QString(), QString(), QString());
}

int g_enCurso = 0;

} // namespace

AutorizacionEnLote::AutorizacionEnLote(QString clave, QStringList folios, QObject* parent)
    : QObject(parent)
    , m_clave(std::move(clave))
    , m_folios(std::move(folios))
    , m_reintento(new QTimer(this))
{
    m_reintento->setSingleShot(true);
    connect(m_reintento, &QTimer::timeout, this, &AutorizacionEnLote::Intentar);
}

AutorizacionEnLote::~AutorizacionEnLote()
{
    if (m_enCurso)
        --g_enCurso;
}

bool AutorizacionEnLote::EnCurso()
{
    return g_enCurso > 0;
}

bool AutorizacionEnLote::Iniciar()
{
    if (m_enCurso || EnCurso())
        return false;
    m_enCurso = true;
    ++g_enCurso;
    m_navegador = std::make_unique<orvinda::WebBrowser>();
    m_navegador->TomarPaginaGuardada();
    QTimer::singleShot(0, this, &AutorizacionEnLote::Siguiente);
    return true;
}

void AutorizacionEnLote::Cancelar()
{
    m_cancelado = true;
    if (m_reintento->isActive()) {
        m_reintento->stop();
        m_resumen.pendientes.append({m_folios[m_actual], m_motivoEspera});
        QTimer::singleShot(0, this, &AutorizacionEnLote::Siguiente);
    }
}

void AutorizacionEnLote::Siguiente()
{
    ++m_actual;
    if (m_actual >= m_folios.size() || m_cancelado) {
        m_resumen.cancelado = m_cancelado && m_actual < m_folios.size();
        Terminar();
        return;
    }
    Intentar();
}

void AutorizacionEnLote::Intentar()
{
    ++m_intento;
    emit Avance(m_actual, static_cast<int>(m_folios.size()));
    if (m_cancelado) {
        m_resumen.cancelado = true;
        Terminar();
        return;
    }
    Trampa::OlvidarCausa();
    // What the inbox looks up before it opens a document, once for all
    // (again after a passing fault stopped it).
    if (!m_configuracionLeida) {
        QString fallo;
        Trampa::Atrapar(
            [&fallo](const QString& descripcion) { fallo = descripcion; },
            [this] {
                m_tabla = BuscarEnConfiguracion(m_clave, QStringLiteral("Ca_Tabla"));
                m_campos = BuscarEnConfiguracion(m_clave, QStringLiteral("Ca_Campos_Autorizar"));
                m_pagina = RevisionDocumento::Pagina(
                    Publico::Sistema->LeerParametro(QStringLiteral("GEN_URL"), 1, QString(), QString()).toString());
            });
        if (!fallo.isEmpty())
            return DejarPendiente(fallo);
        m_configuracionLeida = true;
    }
    // As the dialog does it: the document rendered, the editor page served
    // anew, its body replaced by the document, the values read from it.
    m_html.clear();
    QString motivo;
    Trampa::Atrapar([&motivo](const QString& descripcion) { motivo = descripcion; },
                    [this] { m_html = RevisionDocumento::Renderizar(m_clave, m_folios[m_actual]); });
    if (!motivo.isEmpty())
        return DejarPendiente(motivo);
    if (m_html.isEmpty())
        return DejarPendiente(QStringLiteral("La configuración %1 ya no existe.").arg(m_clave));
    m_decidido = false;
    m_carga = connect(m_navegador.get(), &orvinda::WebBrowser::DocumentComplete, this, &AutorizacionEnLote::Mostrado);
    const int intento = m_intento;
    QTimer::singleShot(m_navegador->Timeout(), this, [this, intento] {
        if (m_intento == intento && m_carga) {
            disconnect(m_carga);
            DejarPendiente(QStringLiteral("La página %1 no terminó de cargar.").arg(m_pagina));
        }
    });
    m_navegador->Navigate(m_pagina);
}

void AutorizacionEnLote::Mostrado()
{
    disconnect(m_carga);
    m_carga = {};
    // The page is read in one answer the run does not wait for (a read
    // waited for right after the body changes may only come back once the
    // wait is over), then decided on a turn of its own. The shared values
    // go into the fields the page leaves empty first, so the page's own
    // rules judge them as they judge what is typed.
    QPointer<AutorizacionEnLote> vivo(this);
    const int intento = m_intento;
    const auto leer = [this, vivo, intento] {
        if (!vivo || m_intento != intento)
            return;
        m_navegador->LeerCampos(ReglasDePagina::Nombres(m_campos), [this, vivo, intento](const auto& lectura) {
            if (!vivo)
                return;
            QTimer::singleShot(0, vivo, [this, intento, lectura] {
                if (m_intento == intento && !m_decidido) {
                    m_decidido = true;
                    Decidir(lectura);
                }
            });
        });
    };
    m_navegador->ReemplazarCuerpo(m_html, leer, m_valores);
    QTimer::singleShot(m_navegador->Timeout(), this, [this, intento] {
        if (m_intento == intento && !m_decidido) {
            m_decidido = true;
            DejarPendiente(QStringLiteral("La página %1 no respondió.").arg(m_pagina));
        }
    });
}

void AutorizacionEnLote::Decidir(const orvinda::WebBrowser::Lectura& pagina)
{
    const QString folio = m_folios[m_actual];
    QString motivo;
    const auto reportar = [&motivo](const QString& mensaje, int, const QString&, const QString&) {
        if (motivo.isEmpty())
            motivo = mensaje;
    };
    RevisionDocumento::Autorizacion autorizacion;
    Trampa::Atrapar([&motivo](const QString& descripcion) { motivo = descripcion; },
                    [&] {
                        autorizacion = RevisionDocumento::Autorizar(reportar, m_clave, m_tabla, folio, m_campos, pagina,
                                                                    AnotacionDecision::Origen::Lote);
                    });
    if (autorizacion.sinCambios) {
        // The notice that someone else decided first is the reason.
        RevisionDocumento::Concluir(reportar, autorizacion, m_clave, folio);
        return DejarPendiente(motivo);
    }
    if (!autorizacion.ejecutada)
        return DejarPendiente(motivo.isEmpty() ? QStringLiteral("El documento no se autorizó.") : motivo);
    // Authorized: the next document waits for this one's printing, whose
    // failure is a notice, not a reason to stay pending.
    m_esperado = 0;
    m_siguienteEspera = EsperaInicial;
    m_resumen.autorizados.append(folio);
    QPointer<AutorizacionEnLote> vivo(this);
    RevisionDocumento::Concluir([](const QString&, int, const QString&, const QString&) {}, autorizacion, m_clave,
                                folio,
                                [vivo, folio](const QString& archivo, const QString& error) {
                                    if (!vivo)
                                        return;
                                    if (!error.isEmpty())
                                        vivo->m_resumen.avisos.append({folio, error});
                                    else if (!archivo.isEmpty())
                                        vivo->m_resumen.impresos.append(archivo);
                                    QTimer::singleShot(0, vivo, &AutorizacionEnLote::Siguiente);
                                });
}

void AutorizacionEnLote::DejarPendiente(const QString& motivo)
{
    // A passing fault: the same document again, later, while the run's
    // patience lasts. Its own reason: it stays pending, and the patience
    // is whole again for the next fault.
    if (Trampa::Pasajera(Trampa::UltimaCausa()) && !m_cancelado && m_esperado < EsperaMaxima) {
        const int espera = std::min(m_siguienteEspera, EsperaMaxima - m_esperado);
        m_esperado += espera;
        m_siguienteEspera *= 2;
        m_motivoEspera = motivo;
        emit EnEspera(m_actual, static_cast<int>(m_folios.size()), motivo, espera);
        m_reintento->start(espera);
        return;
    }
    if (!Trampa::Pasajera(Trampa::UltimaCausa())) {
        m_esperado = 0;
        m_siguienteEspera = EsperaInicial;
    }
    m_resumen.pendientes.append({m_folios[m_actual], motivo});
    QTimer::singleShot(0, this, &AutorizacionEnLote::Siguiente);
}

void AutorizacionEnLote::Terminar()
{
    m_reintento->stop();
    if (m_enCurso) {
        m_enCurso = false;
        --g_enCurso;
    }
    m_navegador.reset();
    emit Terminada();
}

} // namespace rm640
