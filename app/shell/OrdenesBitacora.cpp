#include "shell/OrdenesBitacora.h"

#include "basedatos/ActualizacionEsquema.h"
#include "host/bitacora/VerificacionBitacora.h"
#include "host/datos/Conexion.h"
#include "host/datos/Secretos.h"
#include "host/errores/ErrorRm.h"
#include "shell/OpcionesShell.h"

#include <QSqlDatabase>
#include <cstdio>

namespace orvinda {

int OrdenesBitacora::Verificar(Conexion& conexion, const QString& desde)
{
    const VerificacionBitacora::Resultado r = VerificacionBitacora::Verificar(conexion, desde);
    std::printf("%s\n", qPrintable(r.Informe()));
    return r.Integra() ? OpcionesShell::SalidaBien : OpcionesShell::SalidaBitacoraAlterada;
}

int OrdenesBitacora::ActualizarEsquema(Conexion& conexion, const QString& destino)
{
    QSqlDatabase db = conexion.BaseDatos();
    QStringList hecho;
    try {
        hecho = ActualizacionEsquema::Actualizar(db);
    } catch (const std::exception& e) {
        throw ErrorRm(QStringLiteral("No se pudo actualizar el esquema de %1; no se cambió nada: %2")
                          .arg(Secretos::Ocultar(destino), QString::fromUtf8(e.what())));
    }
    for (const QString& linea : hecho)
        std::printf("%s\n", qPrintable(linea));
    std::printf(
        "%s\n",
        qPrintable(
            hecho.isEmpty()
                ? QStringLiteral("El esquema de %1 ya está al día: no se cambió nada.").arg(Secretos::Ocultar(destino))
                : QStringLiteral("Esquema de %1 actualizado.").arg(Secretos::Ocultar(destino))));
    return OpcionesShell::SalidaBien;
}

QString OrdenesBitacora::OrdenActualizar(const QString& opcionDb)
{
    QString orden = QStringLiteral("orvinda --actualizar-esquema");
    if (!opcionDb.isEmpty())
        orden += QStringLiteral(" --db \"%1\"").arg(Secretos::Ocultar(opcionDb));
    return orden;
}

} // namespace orvinda
