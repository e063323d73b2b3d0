#include "host/datos/CanalServidor.h"

#include <QDir>
#include <algorithm>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace orvinda {

namespace {

bool EsSocket(int fd, ino_t& inodo)
{
    struct stat s{};
    if (fstat(fd, &s) != 0 || !S_ISSOCK(s.st_mode))
        return false;
    inodo = s.st_ino;
    return true;
}

// The local port of a TCP socket; 0 for any other.
int PuertoLocal(int fd)
{
    sockaddr_storage a{};
    socklen_t largo = sizeof a;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&a), &largo) != 0)
        return 0;
    if (a.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(a).sin_port);
    if (a.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(a).sin6_port);
    return 0;
}

bool Conectado(int fd)
{
    sockaddr_storage a{};
    socklen_t largo = sizeof a;
    return getpeername(fd, reinterpret_cast<sockaddr*>(&a), &largo) == 0;
}

} // namespace

CanalServidor::Huella CanalServidor::Tomar()
{
    Huella huella;
    const QStringList descriptores = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System);
    for (const QString& d : descriptores) {
        bool ok = false;
        const int fd = d.toInt(&ok);
        ino_t inodo = 0;
        if (ok && EsSocket(fd, inodo))
            huella.sockets.push_back({fd, inodo});
    }
    return huella;
}

CanalServidor CanalServidor::Buscar(const Huella& antes, int puertoLocal)
{
    std::vector<Huella::Socket> nuevos;
    for (const Huella::Socket& s : Tomar().sockets) {
        const bool estaba = std::any_of(antes.sockets.begin(), antes.sockets.end(), [&s](const Huella::Socket& a) {
            return a.fd == s.fd && a.inodo == s.inodo;
        });
        if (!Conectado(s.fd))
            continue;
        // A port names the socket whenever it opened; without one, only a
        // socket that is new since antes can be the session's.
        if (puertoLocal > 0 ? PuertoLocal(s.fd) == puertoLocal : !estaba)
            nuevos.push_back(s);
    }
    if (nuevos.size() != 1)
        return CanalServidor();
    return CanalServidor(nuevos.front().fd, nuevos.front().inodo);
}

void CanalServidor::ActivarKeepalive(int segundos) const
{
    if (!Valido() || PuertoLocal(m_fd) == 0)
        return;
    const int si = 1, intervalo = 10, sondeos = 6;
    setsockopt(m_fd, SOL_SOCKET, SO_KEEPALIVE, &si, sizeof si);
    setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPIDLE, &segundos, sizeof segundos);
    setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPINTVL, &intervalo, sizeof intervalo);
    setsockopt(m_fd, IPPROTO_TCP, TCP_KEEPCNT, &sondeos, sizeof sondeos);
}

void CanalServidor::Cortar() const
{
    ino_t inodo = 0;
    // Another socket may hold the number once the session's is closed.
    if (Valido() && EsSocket(m_fd, inodo) && inodo == m_inodo)
        shutdown(m_fd, SHUT_RDWR);
}

} // namespace orvinda
