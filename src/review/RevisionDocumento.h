#pragma once

#include "host/controles/WebBrowser.h"
#include "review/AnotacionDecision.h"
#include "marcadores/MarcadoresHtml.h"
#include "marcadores/MarcadoresSql.h"
#include "review/SentenciaDeRevision.h"

#include <QString>
#include <QStringList>
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
    // solicitante, when given, receives who asked for the document.
    static QString Renderizar(const QString& plantilla, const QString& consulta, const QString& folio,
                              const MarcadoresSql::Reglas& reglas, MarcadoresHtml::Modo modoHtml,
                              QString* solicitante = nullptr);

    // The operator who asked for a document, when the template query says
    // it: no one authorizes or rejects their own request.
    static inline const QString ColumnaSolicitante = QStringLiteral("SOLICITANTE_OPERADOR");
    // Who asked for folio of clave, as the review road read it when it last
    // rendered that document; empty when unknown.
    static QString SolicitanteMostrado(const QString& clave, const QString& folio);
    static bool EsPropia(const QString& solicitante, const QString& operador);
    // Why operador may not decide (accion: "autorizar", "rechazar") on folio.
    static QString PropiaSolicitud(const QString& accion, const QString& folio, const QString& operador);

    // What the template query of folio says without its rows: the column
    // names the field list may use (a query that finds no row still names
    // them), and who asked for the document. A template query that would
    // run a transaction command is thrown.
    struct ColumnasPlantilla
    {
        QStringList nombres;
        QString solicitante;
    };
    static ColumnasPlantilla LeerColumnas(const QString& consultaPlantilla, const QString& folio,
                                          const MarcadoresSql::Reglas& reglas);

    // The message of a required field left empty.
    static QString CampoObligatorio(const QString& campo);

    struct Autorizacion
    {
        // Ran and committed.
        bool ejecutada = false;
        // Ran and changed no row: undone, for someone else processed the
        // document first.
        bool sinCambios = false;
        // The field the reviewer must correct, when that stopped it: a
        // required one found empty, or one that breaks its page's rules.
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
    // The same from the page the reviewer typed into, as it was read:
    // before anything runs, its fields are held to their own HTML rules, and
    // the first that breaks one stops it (ERR-ID:7500064) as a missing
    // required field does.
    static Autorizacion Autorizar(const Reportar& reportar, const QString& clave, const QString& tabla,
                                  const QString& folio, const QString& campos,
                                  const orvinda::WebBrowser::Lectura& pagina,
                                  AnotacionDecision::Origen origen = AnotacionDecision::Origen::Dialogo,
                                  const SentenciaDeRevision::AntesDeConfirmar& antesDeConfirmar = {});
    // The same from the page shown in a browser, read in one answer.
    static Autorizacion Autorizar(const Reportar& reportar, const QString& clave, const QString& tabla,
                                  const QString& folio, const QString& campos, orvinda::WebBrowser& pagina,
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
