#pragma once

#include <sys/types.h>
#include <vector>

namespace orvinda {

// The socket a server session talks through, told apart from the rest of
// the process's sockets when the session opens. Keepalives on it find a peer
// that is gone; cutting it makes a call that waits on it return at once.
class CanalServidor
{
public:
    // The process's sockets at one moment.
    struct Huella
    {
        struct Socket
        {
            int fd;
            ino_t inodo;
        };
        std::vector<Socket> sockets;
    };
    static Huella Tomar();

    CanalServidor() = default;
    // The one connected socket that appeared since antes; with puertoLocal
    // (the port the server says the session comes from), the one bound to it.
    // No channel when it cannot be told apart.
    static CanalServidor Buscar(const Huella& antes, int puertoLocal);

    bool Valido() const { return m_fd >= 0; }
    // The peer is probed after segundos of silence, and given up on a
    // minute later.
    void ActivarKeepalive(int segundos) const;
    // Shuts the socket down, if the descriptor still holds it. Safe from any
    // thread.
    void Cortar() const;

private:
    CanalServidor(int fd, ino_t inodo)
        : m_fd(fd)
        , m_inodo(inodo)
    {
    }

    int m_fd = -1;
    ino_t m_inodo = 0;
};

} // namespace orvinda
