#include "host/bitacora/VerificacionBitacora.h"

#include "host/bitacora/EscrituraBitacora.h"
#include "host/bitacora/RegistroBitacora.h"
#include "host/datos/Conexion.h"
#include "host/datos/LecturaExacta.h"
#include "host/errores/ErrorRm.h"

#include <QSqlDatabase>

namespace orvinda {

QString VerificacionBitacora::Resultado::Informe() const
{
    if (!Integra())
        return filaRota > 0 ? QStringLiteral("Bitácora alterada en la fila Bd_Id %1: %2").arg(filaRota).arg(motivo)
                            : QStringLiteral("Bitácora alterada: %1").arg(motivo);
    // The earlier head is said found before the current one, which stays last.
    const QString desdeVisto = filaDesde < 0
        ? QString()
        : QStringLiteral("la cabeza %1 sigue en la cadena (%2); ")
              .arg(desde.left(12),
                   filaDesde == 0 ? QStringLiteral("su comienzo") : QStringLiteral("fila %1").arg(filaDesde));
    return QStringLiteral("Bitácora íntegra: %1 filas; %2cabeza %3").arg(filas).arg(desdeVisto, cabeza);
}

VerificacionBitacora::Resultado VerificacionBitacora::Verificar(Conexion& conexion, const QString& desde)
{
    if (!EscrituraBitacora::Existe(conexion))
        throw ErrorRm(EscrituraBitacora::SinBitacora());
    Resultado r;
    r.cabeza = RegistroBitacora::HashInicial;
    const QString buscado = desde.trimmed().toLower();
    r.desde = desde.trimmed();
    if (!buscado.isEmpty() && buscado == r.cabeza)
        r.filaDesde = 0;
    const auto romper = [&r](qint64 fila, const QString& motivo) {
        r.filaRota = fila;
        r.motivo = motivo;
        return r;
    };

    const QStringList& columnas = RegistroBitacora::Columnas();
    const QString consulta
        = QStringLiteral("SELECT %1, Bd_Hash_Anterior, Bd_Hash FROM Bitacora_Decisiones ORDER BY Bd_Id")
              .arg(columnas.join(QStringLiteral(", ")));
    qint64 anterior = 0;
    // The first row that breaks the chain, and why.
    qint64 filaRota = 0;
    QString rotura;
    LecturaExacta::Recorrer(conexion.BaseDatos(), consulta, [&](const QStringList& fila) {
        const QStringList textos = fila.first(columnas.size());
        const qint64 id = textos[0].toLongLong();
        const QString& hashAnterior = fila[columnas.size()];
        const QString& hash = fila[columnas.size() + 1];
        if (id != anterior + 1)
            rotura = id > anterior + 2 ? QStringLiteral("faltan las filas %1 a %2").arg(anterior + 1).arg(id - 1)
                : id == anterior + 2   ? QStringLiteral("falta la fila %1").arg(anterior + 1)
                                       : QStringLiteral("su número no sigue al de la fila %1").arg(anterior);
        else if (hashAnterior != r.cabeza)
            rotura = QStringLiteral("su Bd_Hash_Anterior no es el Bd_Hash de la fila %1").arg(anterior);
        else if (RegistroBitacora::Sellar(hashAnterior, textos) != hash)
            rotura = QStringLiteral("su contenido ya no corresponde a su Bd_Hash: se cambió después de escrita");
        if (!rotura.isEmpty()) {
            filaRota = id;
            return false;
        }
        anterior = id;
        r.cabeza = hash;
        ++r.filas;
        if (r.filaDesde < 0 && !buscado.isEmpty() && hash == buscado)
            r.filaDesde = id;
        return true;
    });
    if (!rotura.isEmpty())
        return romper(filaRota, rotura);

    QStringList cabeza;
    LecturaExacta::Recorrer(conexion.BaseDatos(),
                            QStringLiteral("SELECT Bc_Ultimo_Id, Bc_Hash FROM Bitacora_Cabeza WHERE Bc_Clave = 1"),
                            [&cabeza](const QStringList& fila) {
                                cabeza = fila;
                                return false;
                            });
    if (cabeza.size() < 2)
        return romper(0, QStringLiteral("la tabla %1 no tiene su fila").arg(EscrituraBitacora::TablaCabeza));
    const qint64 ultimo = cabeza[0].toLongLong();
    if (ultimo != anterior || cabeza[1] != r.cabeza)
        return romper(ultimo > anterior ? anterior + 1 : anterior,
                      QStringLiteral("la cabeza (%1) dice que la última fila es la %2 con hash %3")
                          .arg(EscrituraBitacora::TablaCabeza)
                          .arg(ultimo)
                          .arg(cabeza[1]));
    if (!buscado.isEmpty() && r.filaDesde < 0)
        return romper(0,
                      QStringLiteral("el hash %1 registrado antes ya no está en la cadena: la historia se reescribió "
                                     "después de registrarlo")
                          .arg(desde.trimmed()));
    return r;
}

} // namespace orvinda
