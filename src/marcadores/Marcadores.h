#pragma once

#include "host/errores/ErrorRm.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace rm640 {

// One item of Ca_Campos_Autorizar.
struct CampoAutorizar
{
    QString nombre; // without the leading '*' (and every other '*') when required
    bool obligatorio = false;

    friend bool operator==(const CampoAutorizar&, const CampoAutorizar&) = default;
};

// One column of the template query's first row.
struct ColumnaPlantilla
{
    QString nombre;
    std::optional<QString> valor; // nullopt: the database gave NULL
};

// Result of ExpandirAutorizacion: the finished statement, or the required field
// left empty. A field name may itself be empty (an item "*"), so the failure
// is carried by the optional, not by an empty name.
struct ExpansionAutorizacion
{
    QString sentencia; // empty when the expansion failed
    std::optional<QString> campoFaltante;

    bool completa() const { return !campoFaltante.has_value(); }
};

// The placeholder language of the stored queries, template and statements.
// Pure text: nothing here touches the database or a form.
class Marcadores
{
public:
    // The field whose value, besides being substituted, is the document's comment.
    static inline const QString CampoComentarioDocumento = QStringLiteral("COMENTARIO_DOCUMENTO");

    // Largest text a substitution may produce; beyond it ErrorRm is thrown.
    static constexpr qint64 LongitudMaxima = qint64(1) << 25;

    // Every occurrence of marcador, found left to right without overlap, is
    // replaced by valor; inserted text is not searched again. An empty
    // marcador leaves the text as it is.
    static QString SustituirMarcador(const QString& texto, const QString& marcador, const QString& valor,
                                     bool ignorarMayusculas);
    // Where SustituirMarcador would replace marcador: every start, in order.
    static std::vector<qsizetype> Posiciones(QStringView texto, const QString& marcador, bool ignorarMayusculas);

    // {FOLIO} in the template query, case included.
    static QString ExpandirConsulta(const QString& consulta, const QString& folio);

    // std::nullopt: the query gave no row, and the template comes back unchanged.
    // Each column replaces "{" + upper-cased name + "}" in any case, in column
    // order, over the text the earlier columns produced. A NULL value throws
    // orvinda::ErrorRm::UsoNoValidoDeNull().
    static QString ExpandirPlantilla(const QString& plantilla,
                                     const std::optional<QList<ColumnaPlantilla>>& primeraFila);

    // Split at every ','; an empty text has no items. Nothing is trimmed.
    static QList<CampoAutorizar> LeerListaCampos(const QString& lista);

    // Errors thrown by either callback propagate to the caller. The hook runs
    // only for a non-empty comment and may be left empty.
    using LectorValor = std::function<QString(const QString& campo)>;
    using GanchoComentario = std::function<void(QString& valor)>; // may change the value

    static ExpansionAutorizacion ExpandirAutorizacion(const QString& sentencia, const QString& listaCampos,
                                                      const QStringList& columnas, const LectorValor& leerValor,
                                                      const GanchoComentario& guardarComentario, const QString& folio,
                                                      const QString& operador, const QString& fecha);

    // {FOLIO}, {OPERADOR}, {FECHA}, in that order, case included.
    static QString ExpandirRechazo(const QString& sentencia, const QString& folio, const QString& operador,
                                   const QString& fecha);
};

} // namespace rm640
