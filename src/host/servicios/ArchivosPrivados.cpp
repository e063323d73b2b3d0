#include "host/servicios/ArchivosPrivados.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace orvinda {

void ArchivosPrivados::Proteger(const QString& archivo)
{
    // Only takes away: a file its owner made read-only stays read-only. The
    // owner's bits alone, since the "user" ones say what root may do.
    if (QFile::exists(archivo))
        QFile::setPermissions(archivo,
                              QFile::permissions(archivo) & (QFileDevice::ReadOwner | QFileDevice::WriteOwner));
}

bool ArchivosPrivados::CrearCarpeta(const QString& carpeta)
{
    if (!QDir().mkpath(carpeta))
        return false;
    return QFile::setPermissions(carpeta,
                                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                     | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

QString ArchivosPrivados::MotivoNoConfiable(const QString& ruta)
{
    struct stat datos
    {
    };
    if (::stat(QFile::encodeName(ruta).constData(), &datos) != 0)
        return QString(); // a missing file is reported by whoever needs it
    if (datos.st_uid != ::geteuid() && datos.st_uid != 0)
        return QStringLiteral("pertenece a otro usuario (uid %1)").arg(datos.st_uid);
    if (datos.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("la pueden modificar otros usuarios (permisos %1)")
            .arg(datos.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return QString();
}

} // namespace orvinda
