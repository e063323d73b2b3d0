#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace orvinda {

// The watchdog over statements that may never come back: a server that
// stopped answering leaves the client library waiting on its socket, where no
// limit of the server's own can fire. While a Guardia lives, a statement that
// outlives its limit plus MargenCancelar is cancelled, and one that outlives
// it plus MargenAbandonar too is abandoned. One thread watches every guard of
// the process; the actions run on it, never after their guard is gone.
class Vigia
{
public:
    static constexpr std::chrono::seconds MargenCancelar{2};
    static constexpr std::chrono::seconds MargenAbandonar{4};

    struct Acciones
    {
        // Asks the engine to stop the statement. Must not block: a cancel
        // that may wait for the server runs on a thread of its own.
        std::function<void()> cancelar;
        // Cuts the session off, so that the waiting call returns at once.
        std::function<void()> abandonar;
    };

    class Guardia
    {
    public:
        // A limit of zero or less watches nothing.
        Guardia(std::chrono::milliseconds limite, Acciones acciones);
        ~Guardia();
        Guardia(const Guardia&) = delete;
        Guardia& operator=(const Guardia&) = delete;

        // Set once the statement exists.
        void AlCancelar(std::function<void()> cancelar);

        // What the watchdog did, read once the statement has returned.
        bool Cancelada() const;
        bool Abandonada() const;

        // What the watchdog's thread keeps of a guard.
        struct Entrada;

    private:
        std::shared_ptr<Entrada> m_entrada;
    };

    // Runs accion on a thread that is left behind if it never ends (a cancel
    // sent to a server that does not answer).
    static void Aparte(std::function<void()> accion);
    // How many of those are still running: a session they may be inside of
    // is not closed before.
    static int AparteEnCurso();
};

} // namespace orvinda
