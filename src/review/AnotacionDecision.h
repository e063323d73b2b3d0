#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace rm640 {

// What the review road writes in the decision log: the row that commits
// with each authorization and rejection, and the row that says how the
// printing of an authorization ended (the file, or the error).
class AnotacionDecision
{
public:
    enum class Origen { Dialogo, Lote, Reimpresion };
    // The page's values in the order of the field list; none where one
    // could not be read.
    using Valores = QList<std::pair<QString, std::optional<QString>>>;

    struct Decision
    {
        QString operador, clave, tabla, folio;
        QString decision; // "AU" or "RE"
        Valores valores;
        QString sentencia;
        int filas = -1;
        QString comentario;
        Origen origen = Origen::Dialogo;
    };
    // Inside the decision's transaction, after its statement: the row
    // commits with the decision or not at all. Its Bd_Id.
    static qint64 Anotar(const Decision& decision);

    // An authorization whose printing the log waits to hear about.
    struct Impresion
    {
        qint64 referencia = 0; // the authorization's Bd_Id; 0 when there is none
        QString operador, clave, tabla, folio;
        Origen origen = Origen::Dialogo;
    };
    // After the printing, in a transaction of its own.
    static void AnotarImpresion(const Impresion& impresion, const QString& archivo, const QString& error);
    // Printing under way in this process, not yet recorded.
    static void MarcarEnCurso(qint64 referencia, bool enCurso);
    static bool EnCurso(qint64 referencia);

    // The values of the field list campos, in its order, each read once; one
    // that could not be read is recorded as none and stops nothing.
    static Valores Leer(const QString& campos, const std::function<QString(const QString& campo)>& valorDe);

    // The values as a JSON array of {"campo", "valor"}, in their order.
    static QString Json(const Valores& valores);
};

} // namespace rm640
