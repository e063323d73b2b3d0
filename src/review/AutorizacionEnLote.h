#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace rm640 {

// Authorizes several documents of one configuration without the dialog. Each
// is rendered off-screen as the dialog would render it, keeps the values the
// template leaves in its page, and runs the dialog's statements, comment hook
// and printing in a transaction of its own. A document that fails stays
// pending, with the message the dialog would have shown.
class AutorizacionEnLote
{
public:
    struct Pendiente
    {
        QString folio;
        QString motivo;
    };
    struct Resumen
    {
        QStringList autorizados;
        QList<Pendiente> pendientes;
        // Authorized, but what followed failed (its printing): the reason.
        QList<Pendiente> avisos;
        bool cancelado = false;
    };
    // Asked before each document, with how many of total are done; false
    // stops the run there, never inside a document.
    using Avance = std::function<bool(int hechos, int total)>;

    static Resumen Ejecutar(const QString& clave, const QStringList& folios, const Avance& avance);
};

} // namespace rm640
