#pragma once

#include "host/errores/ErrorRm.h"
#include "host/servicios/Sistema.h"

#include <QString>
#include <QVariant>
#include <exception>
#include <functional>

class QWidget;

namespace rm640 {

// How the component reports and where it traps. Every message goes to the
// shell's message box under the component's module name; every slot, event
// handler and command body runs through Atrapar, so that nothing it raises
// travels further.
class Trampa
{
public:
    static const QString Modulo;

    // The shell's message box, the form as its window; returns the answer.
    // The first graves characters are what went wrong, set apart by the shell.
    static QVariant Mostrar(QWidget* ventana, const QString& mensaje, int estilo, const QString& titulo,
                            const QString& idError, qsizetype graves = 0);
    // A yes/no question before a command the user asked for (see
    // Sistema::Preguntar); the answer is a button number.
    static int Preguntar(QWidget* ventana, const QString& mensaje, const QString& titulo, const QString& idError,
                         int predeterminada, int desatendida);

    // The error's own description: an ErrorRm's, another exception's text,
    // or a fixed text for anything else. A database cause (lost session,
    // lock, read-only) stands in front of it.
    static QString Descripcion(const std::exception_ptr& error);
    // The same with the handler's hint in front, unless a database cause
    // explains the failure better than the hint would.
    static QString Explicada(const std::exception_ptr& error, const QString& pista);

    // Runs cuerpo. Whatever it raises is cleared and its description handed
    // to alFallar, whose own failure is cleared as well. True when cuerpo
    // finished.
    static bool Atrapar(const std::function<void(const QString&)>& alFallar, const std::function<void()>& cuerpo);

    // As above, with the hint of Explicada; a value refused for where it
    // stands in a statement (ValorNoAdmitido) goes to alRehusar instead: it
    // is the reviewer's input to correct, not a fault of the configuration.
    static bool Atrapar(const QString& pista, const std::function<void(const QString&)>& alFallar,
                        const std::function<void(const QString&)>& alRehusar, const std::function<void()>& cuerpo);

    // The usual boundary: a failure goes to the form's own Reportar with the
    // error's description, style 16 and the handler's title and id.
    template <typename Forma>
    static bool Atrapar(Forma& forma, const QString& titulo, const QString& idError,
                        const std::function<void()>& cuerpo)
    {
        const auto reportar = [&](const QString& descripcion) {
            forma.Reportar(descripcion, orvinda::Sistema::EstiloError, titulo, idError);
        };
        return Atrapar(reportar, cuerpo);
    }

    template <typename Forma>
    static bool Atrapar(Forma& forma, const QString& titulo, const QString& idError,
                        const std::function<void(const QString&)>& alRehusar, const std::function<void()>& cuerpo)
    {
        const auto reportar = [&](const QString& descripcion) {
            forma.Reportar(descripcion, orvinda::Sistema::EstiloError, titulo, idError);
        };
        return Atrapar(QString(), reportar, alRehusar, cuerpo);
    }

    // The database's cause of the last failure trapped above (Sentencia for
    // anything else), until OlvidarCausa: a bulk run tells a passing fault of
    // the server or its disk from one of the document.
    static orvinda::ErrorRm::Causa UltimaCausa();
    static void OlvidarCausa();
    // A lost session, a server that does not answer, a full disk: what may
    // pass by itself.
    static bool Pasajera(orvinda::ErrorRm::Causa causa);

    // A statement that may fail on its own (layout, placement): a failure is
    // skipped without a word and the next statement runs.
    static void Intentar(const std::function<void()>& sentencia);
};

} // namespace rm640
