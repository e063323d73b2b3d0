#include "host/datos/ArchivoVerificado.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orvinda {

namespace {

QByteArray Nativa(const QString& ruta)
{
    return QFile::encodeName(ruta);
}

// Why the file may not be trusted for uso; empty when it may.
QString Desconfianza(const struct stat& d, ArchivoVerificado::Uso uso)
{
    using Uso = ArchivoVerificado::Uso;
    if (!S_ISREG(d.st_mode))
        return QStringLiteral("no es un archivo");
    if (d.st_uid != ::geteuid() && !(uso == Uso::Leer && d.st_uid == 0))
        return QStringLiteral("pertenece a otro usuario (uid %1)").arg(d.st_uid);
    const QString permisos = QStringLiteral("%1").arg(d.st_mode & 07777, 4, 8, QLatin1Char('0'));
    if (d.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("la pueden modificar otros usuarios (permisos %1)").arg(permisos);
    if (uso == Uso::Secreto && (d.st_mode & (S_IRGRP | S_IROTH)))
        return QStringLiteral("la pueden leer otros usuarios (permisos %1)").arg(permisos);
    return {};
}

} // namespace

ArchivoVerificado::ArchivoVerificado(int fd)
    : m_fd(fd)
{
}

ArchivoVerificado ArchivoVerificado::Rechazado(int numero, QString motivo)
{
    ArchivoVerificado a;
    a.m_error = numero;
    a.m_motivo = motivo.isEmpty() ? MotivoSistema(numero) : std::move(motivo);
    return a;
}

ArchivoVerificado::ArchivoVerificado(ArchivoVerificado&& otro) noexcept
    : m_fd(std::exchange(otro.m_fd, -1))
    , m_error(otro.m_error)
    , m_motivo(std::move(otro.m_motivo))
{
}

ArchivoVerificado& ArchivoVerificado::operator=(ArchivoVerificado&& otro) noexcept
{
    if (this != &otro) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(otro.m_fd, -1);
        m_error = otro.m_error;
        m_motivo = std::move(otro.m_motivo);
    }
    return *this;
}

ArchivoVerificado::~ArchivoVerificado()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

ArchivoVerificado ArchivoVerificado::Abrir(const QString& ruta, int banderas, Uso uso)
{
    // Non-blocking while it is judged: a FIFO in the file's place must not
    // hold the open up.
    const int fd = ::open(Nativa(ruta).constData(), banderas | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return Rechazado(errno);
    ArchivoVerificado a(fd);
    struct stat d
    {
    };
    if (::fstat(fd, &d) != 0)
        return Rechazado(errno);
    if (QString motivo = Desconfianza(d, uso); !motivo.isEmpty())
        return Rechazado(EPERM, std::move(motivo));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return a;
}

ArchivoVerificado ArchivoVerificado::Crear(const QString& ruta, int banderas)
{
    const int fd = ::open(Nativa(ruta).constData(), banderas | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                          S_IRUSR | S_IWUSR);
    if (fd < 0)
        return Rechazado(errno);
    return ArchivoVerificado(fd);
}

ArchivoVerificado ArchivoVerificado::AbrirOCrear(const QString& ruta, int banderas, Uso uso)
{
    // Another process may create it between the two attempts: then it is
    // opened and judged like any existing file.
    ArchivoVerificado a;
    for (int intento = 0; intento < 2; ++intento) {
        a = Abrir(ruta, banderas, uso);
        if (!a.Falta())
            return a;
        a = Crear(ruta, banderas);
        if (a.m_error != EEXIST)
            return a;
    }
    return a;
}

QString ArchivoVerificado::Reemplazar(const QString& ruta, const QByteArray& contenido)
{
    const QFileInfo info(ruta);
    QString temporal;
    ArchivoVerificado nuevo;
    for (int intento = 0; intento < 8 && !nuevo.Abierto(); ++intento) {
        temporal = QStringLiteral("%1/.%2.%3")
                       .arg(info.absolutePath(), info.fileName())
                       .arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
        nuevo = Crear(temporal, O_WRONLY);
        if (!nuevo.Abierto() && nuevo.m_error != EEXIST)
            return nuevo.Motivo();
    }
    if (!nuevo.Abierto())
        return nuevo.Motivo();
    int error = 0;
    for (qsizetype hecho = 0; hecho < contenido.size() && !error;) {
        const ssize_t n = ::write(nuevo.m_fd, contenido.constData() + hecho, size_t(contenido.size() - hecho));
        if (n >= 0)
            hecho += n;
        else if (errno != EINTR)
            error = errno;
    }
    if (!error && ::fsync(nuevo.m_fd) != 0)
        error = errno;
    if (::close(nuevo.Soltar()) != 0 && !error)
        error = errno;
    if (!error && ::rename(Nativa(temporal).constData(), Nativa(ruta).constData()) != 0)
        error = errno;
    if (!error)
        return {};
    ::unlink(Nativa(temporal).constData());
    return MotivoSistema(error);
}

QString ArchivoVerificado::MotivoSistema(int numero)
{
    switch (numero) {
    case ENOSPC: return QStringLiteral("el disco está lleno");
    case EDQUOT: return QStringLiteral("se agotó la cuota de disco del usuario");
    case ELOOP: return QStringLiteral("es un enlace simbólico");
    case ENOENT: return QStringLiteral("no existe");
    case EEXIST: return QStringLiteral("ya existe");
    case ENOTDIR: return QStringLiteral("una parte de la ruta no es una carpeta");
    case EACCES:
    case EPERM: return QStringLiteral("no tiene permiso");
    case EROFS: return QStringLiteral("el sistema de archivos es de solo lectura");
    default: return QString::fromLocal8Bit(std::strerror(numero));
    }
}

bool ArchivoVerificado::Leer(QByteArray& contenido, qint64 limite)
{
    contenido.clear();
    char bloque[8192];
    for (;;) {
        const ssize_t n = ::read(m_fd, bloque, sizeof bloque);
        if (n == 0)
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            m_motivo = MotivoSistema(errno);
            return false;
        }
        if (contenido.size() + n > limite) {
            m_motivo = QStringLiteral("es demasiado grande");
            return false;
        }
        contenido.append(bloque, n);
    }
}

void ArchivoVerificado::Privatizar()
{
    // Only takes away: a file its owner made read-only stays read-only.
    struct stat d
    {
    };
    if (m_fd >= 0 && ::fstat(m_fd, &d) == 0)
        ::fchmod(m_fd, d.st_mode & (S_IRUSR | S_IWUSR));
}

bool ArchivoVerificado::EstaEn(const QString& ruta) const
{
    struct stat abierto
    {
    };
    struct stat camino
    {
    };
    return m_fd >= 0 && ::fstat(m_fd, &abierto) == 0 && ::lstat(Nativa(ruta).constData(), &camino) == 0
        && S_ISREG(camino.st_mode) && abierto.st_dev == camino.st_dev && abierto.st_ino == camino.st_ino;
}

int ArchivoVerificado::Soltar()
{
    return std::exchange(m_fd, -1);
}

} // namespace orvinda
