// The selected documents of a tab authorized at once: asked about, given
// the required values they lack, run with a progress that says when a
// passing fault is being waited out, and summed up; those left pending stay
// selected and marked. And the status area's notices of printed documents.
#include "host/controles/Controles.h"
#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/SSTab.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "inbox/ResumenLote.h"
#include "inbox/SeleccionLote.h"
#include "inbox/frmRM640.h"
#include "inbox/frmValoresLote.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/AutorizacionEnLote.h"
#include "review/AvisosImpresion.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QProgressDialog>
#include <QUrl>

namespace rm640 {

namespace {

const QString TituloLote = QStringLiteral("Autorizar seleccionados");

QString BuscarEnConfiguracion(const QString& clave, const QString& columna)
{
    return Publico::Utilerias->BuscarValor(QStringLiteral("Configuracion_Autorizacion"),
                                           QStringLiteral("Ca_Cve_Configuracion_Autorizacion"), clave, columna, 0,
                                           QString(), QString(), QString());
}

// The first line of a trapped failure, its database cause dropped: the
// status area says what failed, not what it undid.
QString Linea(const QString& descripcion)
{
    QString linea = descripcion.section(QStringLiteral("\r\n"), -1).section(u'\n', 0, 0).trimmed();
    return linea.size() > 120 ? linea.left(119) + QChar(0x2026) : linea;
}

} // namespace

void frmRM640::AutorizarSeleccionados()
{
    // One run at a time, and never over a list still being read.
    const int i = ListaMostrada();
    if (i < 0 || m_refrescando || m_lote || m_valoresLote || AutorizacionEnLote::EnCurso() || m_lista[i]->Llenando())
        return;
    orvinda::ListView& lista = *m_lista[i];
    const QStringList folios = lista.SelectedItems();
    if (folios.isEmpty())
        return;
    const QString clave = m_clavesConfiguracion[i];

    Trampa::Atrapar(*this, TituloLote, QStringLiteral("ERR-ID:7500071"), [&] {
        // Said before it is done; unattended, the run asked for goes ahead.
        // A list read again while the question was open is asked about anew.
        const QString pregunta = SeleccionLote::De(lista).Pregunta(m_ssTab->tabText(i));
        if (Trampa::Preguntar(this, pregunta, TituloLote, QStringLiteral("ERR-ID:7500072"),
                              orvinda::Sistema::RespuestaSi, orvinda::Sistema::RespuestaSi)
                != orvinda::Sistema::RespuestaSi
            || ListaMostrada() != i || m_clavesConfiguracion.value(i) != clave || m_refrescando || m_lote
            || m_lista[i]->Llenando())
            return;
        const QList<frmValoresLote::Campo> campos
            = frmValoresLote::Obligatorios(BuscarEnConfiguracion(clave, QStringLiteral("Ca_Campos_Autorizar")),
                                           BuscarEnConfiguracion(clave, QStringLiteral("Ca_Plantilla_Autorizacion")));
        if (campos.isEmpty())
            return IniciarLote(i, clave, folios, {});
        // Asked once for all, in a window of its own: the run starts when
        // it is accepted, never from inside it.
        auto* forma = new frmValoresLote(campos, static_cast<int>(folios.size()), this);
        forma->setAttribute(Qt::WA_DeleteOnClose);
        connect(forma, &QDialog::accepted, this, [this, forma, i, clave, folios] {
            if (ListaMostrada() == i && m_clavesConfiguracion.value(i) == clave && !m_refrescando && !m_lote
                && !AutorizacionEnLote::EnCurso() && !m_lista[i]->Llenando())
                IniciarLote(i, clave, folios, forma->Valores());
        });
        m_valoresLote = forma;
        forma->open();
    });
}

void frmRM640::IniciarLote(int i, const QString& clave, const QStringList& folios, const QVariantMap& valores)
{
    // The marks of the last run go: this one says anew.
    m_lista[i]->Modelo().setObservaciones({});
    auto* lote = new AutorizacionEnLote(clave, folios, this);
    lote->setValoresComunes(valores);
    m_lote = lote;
    auto* avance = new QProgressDialog(QStringLiteral("Autorizando documentos..."), QStringLiteral("Cancelar"), 0,
                                       static_cast<int>(folios.size()), this);
    avance->setObjectName(QStringLiteral("dlgAvanceLote"));
    avance->setWindowTitle(TituloLote);
    avance->setWindowModality(Qt::WindowModal);
    avance->setMinimumDuration(0);
    avance->setAutoClose(false);
    avance->setAutoReset(false);
    avance->setValue(0);
    // Asked between documents only: Cancel never stops one half-way, and
    // ends a wait for a passing fault at once.
    connect(avance, &QProgressDialog::canceled, lote, &AutorizacionEnLote::Cancelar);
    connect(lote, &AutorizacionEnLote::Avance, avance, [avance, lote](int hechos, int total) {
        if (avance->wasCanceled())
            return lote->Cancelar();
        avance->setMaximum(total);
        avance->setValue(hechos);
        avance->setLabelText(QStringLiteral("Autorizando documento %1 de %2...").arg(hechos + 1).arg(total));
    });
    connect(lote, &AutorizacionEnLote::EnEspera, avance,
            [avance](int hechos, int total, const QString& motivo, int milisegundos) {
                avance->setLabelText(QStringLiteral("Documento %1 de %2: %3\nSe intenta de nuevo en %4 s...")
                                         .arg(hechos + 1)
                                         .arg(total)
                                         .arg(Linea(motivo))
                                         .arg(QLocale().toString(milisegundos / 1000.0, 'f', 1)));
            });
    const int pedidos = static_cast<int>(folios.size());
    connect(lote, &AutorizacionEnLote::Terminada, this, [this, lote, avance, pedidos, i, clave] {
        delete avance;
        lote->deleteLater();
        m_lote = nullptr;
        TerminarLote(lote->ObtenerResumen(), pedidos, i, clave);
    });
    avance->show();
    lote->Iniciar();
}

void frmRM640::TerminarLote(const AutorizacionEnLote::Resumen& resumen, int pedidos, int i, const QString& clave)
{
    const QString texto = ResumenLote::Texto(resumen, pedidos);
    const int estilo = resumen.pendientes.isEmpty() && resumen.avisos.isEmpty() ? orvinda::Sistema::EstiloInformacion
                                                                                : orvinda::Sistema::EstiloAdvertencia;
    // Told once, after the reload or without it: what ran stays said.
    const auto resumir = [this, texto, estilo, impresos = resumen.impresos](const QString& fallo) {
        Trampa::Intentar([&] { Reportar(texto, estilo, TituloLote, QStringLiteral("ERR-ID:7500070")); });
        if (!fallo.isEmpty())
            m_controles->setAvisoAuxiliar(
                QStringLiteral("No se pudo volver a leer la lista (%1): F5 vuelve a leer").arg(Linea(fallo)), true,
                QString(), fallo);
        else if (!impresos.isEmpty())
            Avisar(ResumenLote::Impresos(impresos),
                   impresos.size() == 1 ? impresos.first() : QFileInfo(impresos.first()).absolutePath(), false);
    };
    // Those left pending, by folio: selected and marked once the list is back.
    QHash<size_t, QString> observaciones;
    QStringList pendientes;
    for (const AutorizacionEnLote::Pendiente& p : resumen.pendientes) {
        observaciones.insert(orvinda::ModeloLista::Huella(p.folio.toUtf8()),
                             QStringLiteral("Quedó pendiente: ") + p.motivo);
        pendientes.append(p.folio);
    }
    QString fallo;
    const bool recargando = Trampa::Atrapar(
        [&fallo](const QString& d) { fallo = d; },
        [&] {
            if (i >= m_lista.size() || m_clavesConfiguracion.value(i) != clave)
                throw orvinda::ErrorRm(QStringLiteral("la configuración %1 ya no está en la bandeja").arg(clave));
            orvinda::ListView& lista = *m_lista[i];
            const Posicion posicion = PosicionTras(lista);
            const QString consulta = BuscarEnConfiguracion(clave, QStringLiteral("Ca_Sql"));
            lista.Modelo().setObservaciones(observaciones);
            lista.ListItemsClear();
            QPointer<orvinda::ListView> recargada = &lista;
            LlenarLista(consulta, i, [recargada, posicion, pendientes, resumir](const QString& error, bool) {
                if (recargada && error.isEmpty()) {
                    const bool marcados
                        = !pendientes.isEmpty() && recargada->Restaurar({pendientes, pendientes.first()}, true);
                    if (!marcados)
                        SeleccionarTras(*recargada, posicion);
                }
                resumir(error);
            });
        });
    if (!recargando)
        resumir(fallo);
}

void frmRM640::PrepararAvisos()
{
    connect(&AvisosImpresion::Instancia(), &AvisosImpresion::Impreso, this,
            [this](const QString& folio, const QString& archivo, const QString& error) {
                if (!error.isEmpty())
                    Avisar(QStringLiteral("No se pudo imprimir el documento %1: %2").arg(folio, Linea(error)),
                           QString(), true, error);
                else
                    Avisar(QStringLiteral("El documento %1 se guardó en: %2").arg(folio, QFileInfo(archivo).fileName()),
                           archivo, false);
            });
    connect(m_controles, &orvinda::Controles::AccionAuxiliar, this, [this] {
        if (m_archivoAviso.isEmpty())
            return;
        // Through the shell, which knows whether anybody is there to see it.
        bool abierto = false;
        Trampa::Intentar([&] { abierto = Publico::Sistema && Publico::Sistema->AbrirArchivo(m_archivoAviso); });
        if (!abierto)
            QDesktopServices::openUrl(QUrl::fromLocalFile(m_archivoAviso));
    });
}

void frmRM640::Avisar(const QString& texto, const QString& archivo, bool grave, const QString& detalle)
{
    m_archivoAviso = archivo;
    m_controles->setAvisoAuxiliar(texto, grave, archivo.isEmpty() ? QString() : QStringLiteral("Abrir"),
                                  detalle.isEmpty() ? QDir::toNativeSeparators(archivo) : detalle);
}

} // namespace rm640
