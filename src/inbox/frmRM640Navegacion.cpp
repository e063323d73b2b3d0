// The review dialog moving along the list it was opened from: the next and
// previous documents without leaving it, and the next one once a document
// is decided.

#include "inbox/frmRM640.h"

#include "host/controles/ListView.h"
#include "host/servicios/Sistema.h"
#include "publico/Trampa.h"
#include "review/RevisionDocumento.h"

#include <QPointer>

namespace rm640 {

void frmRM640::RecargarTrasDecision(int i, const QString& consulta, std::function<void(bool bien)> despues)
{
    orvinda::ListView& lista = lvInsidencias(i);
    const Posicion posicion = PosicionTras(lista);
    lista.ListItemsClear();
    QPointer<orvinda::ListView> recargada = &lista;
    LlenarLista(consulta, i, [this, recargada, posicion, despues](const QString& error, bool) {
        if (!error.isEmpty())
            Trampa::Intentar([&] {
                Reportar(error, orvinda::Sistema::EstiloError, QStringLiteral("Actualizar_Autorizaciones()"),
                         QStringLiteral("ERR-ID:7500004"));
            });
        else if (recargada)
            SeleccionarTras(*recargada, posicion);
        if (despues)
            despues(error.isEmpty() && recargada);
    });
}

std::optional<frmAutorizacion::Documento> frmRM640::DocumentoEn(int i, int fila, const Apertura& apertura)
{
    orvinda::ListView& lista = lvInsidencias(i);
    if (fila < 0 || fila >= lista.ListItemsCount())
        return std::nullopt;
    const QString folio = lista.ListItemText(fila);
    const QString plantilla = folio.isEmpty() ? QString() : ObtenerPlantilla(apertura.clave, folio);
    if (plantilla.isEmpty())
        return std::nullopt;
    return frmAutorizacion::Documento{plantilla, apertura.tabla,        folio, apertura.campos, apertura.clave,
                                      fila + 1,  lista.ListItemsCount()};
}

std::shared_ptr<bool> frmRM640::Recorrer(frmAutorizacion& dialogo, int i, const Apertura& apertura)
{
    auto recargada = std::make_shared<bool>(false);
    QPointer<orvinda::ListView> lista = &lvInsidencias(i);
    QPointer<frmAutorizacion> destino = &dialogo;
    dialogo.setPosicion(lista->SelectedIndex() + 1, lista->ListItemsCount());

    frmAutorizacion::Recorrido recorrido;
    recorrido.vecino = [this, i, apertura, lista](int paso) -> std::optional<frmAutorizacion::Documento> {
        if (!lista || lista->Llenando() || m_refrescando || lista->SelectedIndex() < 0)
            return std::nullopt;
        const int actual = lista->SelectedIndex();
        const int fila = actual + paso;
        if (fila < 0 || fila >= lista->ListItemsCount())
            return std::nullopt;
        std::optional<frmAutorizacion::Documento> documento = DocumentoEn(i, fila, apertura);
        if (!documento) {
            // The review road remembers who asked for the document it
            // rendered last: it must be the one still shown.
            const QString folio = lista->ListItemText(actual);
            Trampa::Intentar([&] { RevisionDocumento::Renderizar(apertura.clave, folio); });
            return std::nullopt;
        }
        // The list follows, so that it stands where the reviewer left off.
        lista->setSelectedIndex(fila);
        MarcarVistos(i);
        return documento;
    };
    recorrido.trasDecidir = [this, i, apertura, lista, destino, recargada](frmAutorizacion::Entrega entregar) {
        *recargada = true;
        RecargarTrasDecision(i, apertura.consulta, [this, i, apertura, lista, destino, recargada, entregar](bool bien) {
            // Closed meanwhile: nothing to open, nothing to render.
            if (!destino || !destino->isVisible())
                return;
            std::optional<frmAutorizacion::Documento> siguiente;
            if (bien && lista && lista->SelectedIndex() >= 0)
                siguiente = DocumentoEn(i, lista->SelectedIndex(), apertura);
            // A document shown again is undecided: its own decision reloads.
            if (siguiente)
                *recargada = false;
            entregar(siguiente);
        });
    };
    dialogo.setRecorrido(std::move(recorrido));
    return recargada;
}

} // namespace rm640
