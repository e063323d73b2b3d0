#include "host/bitacora/VerificacionBitacora.h"

#include "host/bitacora/EscrituraBitacora.h"
#include "host/bitacora/RegistroBitacora.h"
#include "host/datos/Conexion.h"
#include "host/datos/ErrorSql.h"
#include "host/errores/ErrorRm.h"

#include <QSqlError>
#include <QSqlQuery>

namespace orvinda {

namespace {

QSqlQuery Leer(Conexion& conexion, const QString& consulta)
{
    QSqlQuery q(conexion.BaseDatos());
    q.setForwardOnly(true);
    if (!q.exec(consulta))
        throw ErrorSql::De(q.lastError());
    return q;
}

QString Texto(const QSqlQuery& q, int i)
{
    // As stored, never in the regional format of a number or date.
    const QVariant v = q.value(i);
    return v.isNull() ? QString() : v.toString();
}

} // namespace

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
    QSqlQuery q = Leer(conexion,
                       QStringLiteral("SELECT %1, Bd_Hash_Anterior, Bd_Hash FROM Bitacora_Decisiones ORDER BY Bd_Id")
                           .arg(columnas.join(QStringLiteral(", "))));
    qint64 anterior = 0;
    while (q.next()) {
        QStringList textos;
        for (int i = 0; i < columnas.size(); ++i)
            textos << Texto(q, i);
        const qint64 id = textos[0].toLongLong();
        const QString hashAnterior = Texto(q, columnas.size());
        const QString hash = Texto(q, columnas.size() + 1);
        if (id != anterior + 1)
            return romper(id,
                          id > anterior + 2 ? QStringLiteral("faltan las filas %1 a %2").arg(anterior + 1).arg(id - 1)
                              : id == anterior + 2
                              ? QStringLiteral("falta la fila %1").arg(anterior + 1)
                              : QStringLiteral("su número no sigue al de la fila %1").arg(anterior));
        if (hashAnterior != r.cabeza)
            return romper(id, QStringLiteral("su Bd_Hash_Anterior no es el Bd_Hash de la fila %1").arg(anterior));
        if (RegistroBitacora::Sellar(hashAnterior, textos) != hash)
            return romper(id,
                          QStringLiteral("su contenido ya no corresponde a su Bd_Hash: se cambió después de escrita"));
        anterior = id;
        r.cabeza = hash;
        ++r.filas;
        if (r.filaDesde < 0 && !buscado.isEmpty() && hash == buscado)
            r.filaDesde = id;
    }

    QSqlQuery cabeza
        = Leer(conexion, QStringLiteral("SELECT Bc_Ultimo_Id, Bc_Hash FROM Bitacora_Cabeza WHERE Bc_Clave = 1"));
    if (!cabeza.next())
        return romper(0, QStringLiteral("la tabla %1 no tiene su fila").arg(EscrituraBitacora::TablaCabeza));
    const qint64 ultimo = cabeza.value(0).toLongLong();
    if (ultimo != anterior || Texto(cabeza, 1) != r.cabeza)
        return romper(ultimo > anterior ? anterior + 1 : anterior,
                      QStringLiteral("la cabeza (%1) dice que la última fila es la %2 con hash %3")
                          .arg(EscrituraBitacora::TablaCabeza)
                          .arg(ultimo)
                          .arg(Texto(cabeza, 1)));
    if (!buscado.isEmpty() && r.filaDesde < 0)
        return romper(0,
                      QStringLiteral("el hash %1 registrado antes ya no está en la cadena: la historia se reescribió "
                                     "después de registrarlo")
                          .arg(desde.trimmed()));
    return r;
}

} // namespace orvinda
