#pragma once

#include "marcadores/MarcadoresHtml.h"
#include "marcadores/MarcadoresSql.h"
#include "review/AnotacionDecision.h"
#include "review/SentenciaDeRevision.h"

#include <QString>
#include <functional>

namespace rm640 {

// The review road of one document without its windows: how it is rendered,
// how its authorization runs and how it prints. The dialog, the bulk run and
// the rehearsal all go through here, so what a reviewer sees and what runs
// is the same everywhere.
class RevisionDocumento
{
public:
    using Reportar = SentenciaDeRevision::Reportar;
    // The page's value of a field, as the reviewer left it.
    using ValorDe = std::function<QString(const QString& campo)>;

    // The configuration's template filled from its query's first row for
    // folio; empty text when the configuration no longer exists. Database
    // errors and refused values are thrown.
    static QString Renderizar(const QString& clave, const QString& folio);
    // The same from a template and its query as given, stored or not:
    // modo quotes the folio into the query, modoHtml the values into the page.
    static QString Renderizar(const QString& plantilla, const QString& consulta, const QString& folio,
                              const MarcadoresSql::Reglas& reglas, MarcadoresHtml::Modo modoHtml);

    // The authorization statement of folio expanded as the review road
    // expands it: the template query names the columns the field list may
    // use. Refused values, and a template query that would run a
    // transaction command, are thrown.
    static ExpansionAutorizacion
    ExpandirAutorizacion(const QString& sentencia, const QString& consultaPlantilla, const QString& campos,
                         const QString& folio, const ValorDe& valorDe, const Marcadores::GanchoComentario& alComentario,
                         const QString& operador, const QString& fecha, const MarcadoresSql::Reglas& reglas);
    // The message of a required field left empty.
    static QString CampoObligatorio(const QString& campo);

    struct Autorizacion
    {
        // Ran and committed.
        bool ejecutada = false;
        // Ran and changed no row: undone, for someone else processed the
        // document first.
        bool sinCambios = false;
        // The required field found empty, when that stopped it.
        QString campoFaltante;
        // The statement that ran, and the rows it changed.
        QString sentencia;
        int filas = -1;
        // The decision's row in the log, whose printing is yet to be recorded.
        AnotacionDecision::Impresion impresion;
    };
    // Expands and runs the authorization of folio in a transaction of its
    // own, the page's values read before it begins. What stops it is
    // reported through reportar as the dialog shows it; reading the operator
    // or the date throws before anything starts. The decision's row in the
    // log, which says where it came from, and antesDeConfirmar commit with
    // the decision, or undo it.
    static Autorizacion Autorizar(const Reportar& reportar, const QString& clave, const QString& tabla,
                                  const QString& folio, const QString& campos, const ValorDe& valorDe,
                                  AnotacionDecision::Origen origen = AnotacionDecision::Origen::Dialogo,
                                  const SentenciaDeRevision::AntesDeConfirmar& antesDeConfirmar = {});

    // What became of the printing of an authorized document: the file, or why not.
    using AlImprimir = std::function<void(const QString& archivo, const QString& error)>;
    // What follows an authorization that ran, wherever it ran: when the
    // statement changed no row, the notice that someone else decided first,
    // and nothing printed; otherwise the document printed in the background
    // (the authorization stands whatever the printing says), its end
    // recorded in the log. alImprimir hears the end of the printing, at once
    // when there is nothing to print; without it, a failure is told in a
    // message of its own.
    static void Concluir(const Reportar& reportar, const Autorizacion& autorizacion, const QString& clave,
                         const QString& folio, AlImprimir alImprimir = {});

    // The address of the editor page under the base address of "GEN_URL".
    static QString Pagina(const QString& urlBase);

    // Starts printing folio in the configuration's format, when it has one;
    // the format used, empty when none. alTerminar hears the end.
    static QString Imprimir(const QString& clave, const QString& folio, AlImprimir alTerminar = {});
};

} // namespace rm640
