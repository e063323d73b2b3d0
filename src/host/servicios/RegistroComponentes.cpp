#include "host/servicios/RegistroComponentes.h"

#include "host/errores/ErrorRm.h"
#include "host/servicios/ArchivosPrivados.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace orvinda {

namespace {

QString ClaveClase(const QString& clsid, const char* valor)
{
    // Braces are not safe in INI keys; the class id is stored without them.
    QString limpia = clsid;
    limpia.remove(u'{').remove(u'}');
    return QStringLiteral("CLSID/%1/%2").arg(limpia, QLatin1String(valor));
}

} // namespace

QString RegistroComponentes::Ruta()
{
    const QString propia = qEnvironmentVariable("ORVINDA_REGISTRO");
    if (!propia.isEmpty())
        return propia;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Orvinda/componentes.ini");
}

void RegistroComponentes::Escribir(const Entrada& entrada)
{
    const QString ruta = Ruta();
    const QString carpeta = QFileInfo(ruta).absolutePath();
    if (!QFileInfo::exists(carpeta))
        ArchivosPrivados::CrearCarpeta(carpeta);
    QSettings s(ruta, QSettings::IniFormat);
    s.setValue(QStringLiteral("ProgID/") + entrada.idPrograma, entrada.clsid);
    s.setValue(ClaveClase(entrada.clsid, "ProgID"), entrada.idPrograma);
    s.setValue(ClaveClase(entrada.clsid, "Biblioteca"), entrada.biblioteca);
    s.sync();
    if (s.status() != QSettings::NoError)
        throw ErrorRm(QStringLiteral("No se puede escribir el registro de componentes %1.").arg(ruta));
    // It says which library runs as this user: only this user may change it.
    ArchivosPrivados::Proteger(ruta);
}

void RegistroComponentes::Borrar(const QString& idPrograma)
{
    QSettings s(Ruta(), QSettings::IniFormat);
    const QString clsid = s.value(QStringLiteral("ProgID/") + idPrograma).toString();
    s.remove(QStringLiteral("ProgID/") + idPrograma);
    if (!clsid.isEmpty()) {
        QString limpia = clsid;
        limpia.remove(u'{').remove(u'}');
        s.remove(QStringLiteral("CLSID/") + limpia);
    }
    s.sync();
}

std::optional<RegistroComponentes::Entrada> RegistroComponentes::Buscar(const QString& idPrograma)
{
    if (const QString motivo = ArchivosPrivados::MotivoNoConfiable(Ruta()); !motivo.isEmpty())
        throw ErrorRm(QStringLiteral("No se usa el registro de componentes %1: %2.").arg(Ruta(), motivo));
    QSettings s(Ruta(), QSettings::IniFormat);
    const QString clsid = s.value(QStringLiteral("ProgID/") + idPrograma).toString();
    if (clsid.isEmpty())
        return std::nullopt;
    return Entrada{idPrograma, clsid, s.value(ClaveClase(clsid, "Biblioteca")).toString()};
}

} // namespace orvinda
