#include "host/servicios/RegistroComponentes.h"

#include "host/datos/ArchivoVerificado.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/ArchivosPrivados.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <fcntl.h>

namespace orvinda {

namespace {

QString g_ultimoError;

QString ClaveClase(const QString& clsid, const char* valor)
{
    // Braces are not safe in INI keys; the class id is stored without them.
    QString limpia = clsid;
    limpia.remove(u'{').remove(u'}');
    return QStringLiteral("CLSID/%1/%2").arg(limpia, QLatin1String(valor));
}

QByteArray Leer(ArchivoVerificado::Uso uso)
{
    const QString ruta = RegistroComponentes::Ruta();
    ArchivoVerificado archivo = ArchivoVerificado::Abrir(ruta, O_RDONLY, uso);
    if (archivo.Falta())
        return {};
    QByteArray contenido;
    if (!archivo.Abierto() || !archivo.Leer(contenido, 1024 * 1024))
        throw ErrorRm(QStringLiteral("No se usa el registro de componentes %1: %2.").arg(ruta, archivo.Motivo()));
    return contenido;
}

// QSettings reads and writes INI text only at a path: it works on a copy in
// a folder of this process's own. Returns the copy's text after uso, which
// may change it.
template <typename Uso>
QByteArray EnCopia(const QByteArray& contenido, Uso uso)
{
    QTemporaryDir carpeta;
    QFile copia(carpeta.filePath(QStringLiteral("componentes.ini")));
    if (!carpeta.isValid() || !copia.open(QIODevice::WriteOnly) || copia.write(contenido) != contenido.size())
        throw ErrorRm(QStringLiteral("No se puede leer el registro de componentes %1: no se pudo copiar (%2).")
                          .arg(RegistroComponentes::Ruta(), copia.errorString()));
    copia.close();
    {
        QSettings s(copia.fileName(), QSettings::IniFormat);
        uso(s);
        s.sync();
        if (s.status() == QSettings::FormatError)
            throw ErrorRm(
                QStringLiteral("El registro de componentes %1 está dañado. Bórrelo: el shell lo crea de nuevo.")
                    .arg(RegistroComponentes::Ruta()));
    }
    if (!copia.open(QIODevice::ReadOnly))
        return {};
    return copia.readAll();
}

// Reads the registry as its owner must have left it, changes it on a copy
// and puts the copy in its place.
template <typename Cambio>
void Cambiar(Cambio cambio)
{
    g_ultimoError.clear();
    const QString ruta = RegistroComponentes::Ruta();
    try {
        if (const QString motivo
            = ArchivosPrivados::CrearCarpeta(QFileInfo(ruta).absolutePath(), RegistroComponentes::RutaPropia());
            !motivo.isEmpty())
            throw ErrorRm(QStringLiteral("No se puede escribir el registro de componentes %1: %2.").arg(ruta, motivo));
        const QByteArray nuevo = EnCopia(Leer(ArchivoVerificado::Uso::Escribir), cambio);
        if (const QString motivo = ArchivoVerificado::Reemplazar(ruta, nuevo); !motivo.isEmpty())
            throw ErrorRm(QStringLiteral("No se puede escribir el registro de componentes %1: %2.").arg(ruta, motivo));
    } catch (const ErrorRm& e) {
        g_ultimoError = e.Descripcion();
        throw;
    }
}

} // namespace

bool RegistroComponentes::RutaPropia()
{
    return qEnvironmentVariableIsEmpty("ORVINDA_REGISTRO");
}

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
    Cambiar([&entrada](QSettings& s) {
        s.setValue(QStringLiteral("ProgID/") + entrada.idPrograma, entrada.clsid);
        s.setValue(ClaveClase(entrada.clsid, "ProgID"), entrada.idPrograma);
        s.setValue(ClaveClase(entrada.clsid, "Biblioteca"), entrada.biblioteca);
    });
}

void RegistroComponentes::Borrar(const QString& idPrograma)
{
    Cambiar([&idPrograma](QSettings& s) {
        const QString clsid = s.value(QStringLiteral("ProgID/") + idPrograma).toString();
        s.remove(QStringLiteral("ProgID/") + idPrograma);
        if (!clsid.isEmpty()) {
            QString limpia = clsid;
            limpia.remove(u'{').remove(u'}');
            s.remove(QStringLiteral("CLSID/") + limpia);
        }
    });
}

std::optional<RegistroComponentes::Entrada> RegistroComponentes::Buscar(const QString& idPrograma)
{
    std::optional<Entrada> entrada;
    EnCopia(Contenido(), [&](QSettings& s) {
        const QString clsid = s.value(QStringLiteral("ProgID/") + idPrograma).toString();
        if (!clsid.isEmpty())
            entrada = Entrada{idPrograma, clsid, s.value(ClaveClase(clsid, "Biblioteca")).toString()};
    });
    return entrada;
}

QByteArray RegistroComponentes::Contenido()
{
    // Only read here: root's registry is as good as the user's own.
    return Leer(ArchivoVerificado::Uso::Leer);
}

QString RegistroComponentes::UltimoError()
{
    return g_ultimoError;
}

} // namespace orvinda
