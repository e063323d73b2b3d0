#include "host/servicios/ArchivosPrivados.h"

#include "host/datos/ArchivoVerificado.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvinda {

QString ArchivosPrivados::CrearCarpeta(const QString& carpeta, bool propia)
{
    // The folders on the way are made as the umask says; the last one is
    // the user's alone.
    const QString absoluta = QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath());
    const QStringList partes = absoluta.split(u'/', Qt::SkipEmptyParts);
    QString camino;
    for (qsizetype i = 0; i < partes.size(); ++i) {
        camino += u'/' + partes[i];
        const QByteArray nativo = QFile::encodeName(camino);
        struct stat d
        {
        };
        if (::stat(nativo.constData(), &d) == 0)
            continue;
        if (::mkdir(nativo.constData(), i + 1 == partes.size() ? 0700 : 0777) != 0 && errno != EEXIST)
            return ArchivoVerificado::MotivoSistema(errno);
    }
    if (!propia)
        return {};
    // An existing folder is made private through what was opened: a link
    // in its place is left as it is, and so is another user's folder.
    const int fd = ::open(QFile::encodeName(absoluta).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ELOOP ? QString() : ArchivoVerificado::MotivoSistema(errno);
    struct stat d
    {
    };
    if (::fstat(fd, &d) == 0 && d.st_uid == ::geteuid())
        ::fchmod(fd, 0700);
    ::close(fd);
    return {};
}

} // namespace orvinda
