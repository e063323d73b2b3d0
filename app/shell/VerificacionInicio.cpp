#include "shell/VerificacionInicio.h"

#include "host/datos/Conexion.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/ArchivosPrivados.h"
#include "host/servicios/RegistroComponentes.h"

#include <QFileInfo>
#include <QSqlDatabase>

namespace orvinda {

namespace {

QString Sugerencia(const QString& destino)
{
    return QStringLiteral(" Cree la base de demostración con: orvinda --crear-demo %1").arg(destino);
}

} // namespace

void VerificacionInicio::ArchivoBaseDatos(const QString& destino)
{
    if (Conexion::EsCadenaOdbc(destino))
        return;
    const QFileInfo info(destino);
    // A link is refused when the database is opened, with its own reason.
    if (info.exists() && !info.isSymLink() && (!info.isFile() || info.size() == 0))
        throw ErrorRm(
            QStringLiteral("La base de datos %1 está vacía o no es un archivo: no es una base de datos de Orvinda.")
                .arg(destino)
            + Sugerencia(destino));
}

void VerificacionInicio::Tablas(Conexion& conexion, const QString& destino)
{
    // The shell's own tables; the documents they authorize are the deployment's.
    static const char* const propias[]
        = {"Configuracion_Autorizacion", "Parametros_Generales", "Operadores", "Comentarios_Documento"};
    QStringList existentes = conexion.BaseDatos().tables(QSql::Tables);
    for (QString& t : existentes)
        t = t.toLower();
    QStringList faltan;
    for (const char* t : propias)
        if (!existentes.contains(QString::fromLatin1(t).toLower()))
            faltan << QString::fromLatin1(t);
    // --crear-demo fills only a database without tables.
    if (!faltan.isEmpty())
        throw ErrorRm(QStringLiteral("La base de datos %1 no tiene las tablas de Orvinda (faltan %2).")
                          .arg(destino, faltan.join(QStringLiteral(", ")))
                      + Sugerencia(existentes.isEmpty() ? destino : QStringLiteral("ARCHIVO_NUEVO")));
}

void VerificacionInicio::Registro(bool escribir)
{
    const QString ruta = RegistroComponentes::Ruta();
    const QFileInfo info(ruta);
    // An INI file: sections, keys with values, comments, blank lines.
    int numero = 0;
    for (const QByteArray& cruda : RegistroComponentes::Contenido().split('\n')) {
        const QByteArray linea = cruda.trimmed();
        ++numero;
        const bool valida = linea.isEmpty() || linea.startsWith(';') || linea.startsWith('#')
            || (linea.startsWith('[') && linea.endsWith(']')) || (linea.indexOf('=') > 0 && !linea.contains('\0'));
        if (!valida)
            throw ErrorRm(
                QStringLiteral(
                    "El registro de componentes %1 está dañado (línea %2). Bórrelo: el shell lo crea de nuevo.")
                    .arg(ruta)
                    .arg(numero));
    }
    if (!escribir)
        return;
    QString motivo = ArchivosPrivados::CrearCarpeta(info.absolutePath(), RegistroComponentes::RutaPropia());
    if (motivo.isEmpty() && (!QFileInfo(info.absolutePath()).isWritable() || (info.exists() && !info.isWritable())))
        motivo = QStringLiteral("no tiene permiso");
    if (!motivo.isEmpty())
        throw ErrorRm(QStringLiteral("No se puede escribir el registro de componentes %1: %2.").arg(ruta, motivo));
}

QString VerificacionInicio::SinPantalla(const QStringList& argumentos)
{
    QString plataformas = qEnvironmentVariable("QT_QPA_PLATFORM");
    for (qsizetype i = 1; i + 1 < argumentos.size(); ++i)
        if (argumentos[i] == QLatin1String("-platform") || argumentos[i] == QLatin1String("--platform"))
            plataformas = argumentos[i + 1];
    // Qt tries each platform of the list in turn; with none, the desktop's own.
    QStringList lista = plataformas.split(u';', Qt::SkipEmptyParts);
    if (lista.isEmpty())
        lista = {QStringLiteral("xcb"), QStringLiteral("wayland")};
    for (const QString& plataforma : lista) {
        const QString nombre = plataforma.section(u':', 0, 0);
        if (nombre == QLatin1String("xcb")                    ? !qEnvironmentVariableIsEmpty("DISPLAY")
                : nombre.startsWith(QLatin1String("wayland")) ? !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                                                              : true)
            return {};
    }
    return QStringLiteral("No hay pantalla (DISPLAY y WAYLAND_DISPLAY están vacías) y la bandeja necesita una. Sin "
                          "pantalla funcionan --help, --version y --crear-demo; con QT_QPA_PLATFORM=offscreen, "
                          "--captura.");
}

} // namespace orvinda
