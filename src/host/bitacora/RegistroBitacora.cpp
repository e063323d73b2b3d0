#include "host/bitacora/RegistroBitacora.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace orvinda {

const QStringList& RegistroBitacora::Columnas()
{
    static const QStringList columnas{
        QStringLiteral("Bd_Id"),         QStringLiteral("Bd_Fecha"),     QStringLiteral("Bd_Operador"),
        QStringLiteral("Bd_Cuenta"),     QStringLiteral("Bd_Maquina"),   QStringLiteral("Bd_Clave"),
        QStringLiteral("Bd_Tabla"),      QStringLiteral("Bd_Folio"),     QStringLiteral("Bd_Decision"),
        QStringLiteral("Bd_Valores"),    QStringLiteral("Bd_Sentencia"), QStringLiteral("Bd_Filas"),
        QStringLiteral("Bd_Comentario"), QStringLiteral("Bd_Origen"),    QStringLiteral("Bd_Referencia"),
        QStringLiteral("Bd_Resultado")};
    return columnas;
}

QStringList RegistroBitacora::Textos() const
{
    return {QString::number(id),
            fecha,
            operador,
            cuenta,
            maquina,
            clave,
            tabla,
            folio,
            decision,
            valores,
            sentencia,
            filas < 0 ? QString() : QString::number(filas),
            comentario,
            origen,
            referencia == 0 ? QString() : QString::number(referencia),
            resultado};
}

QByteArray RegistroBitacora::Serializar(const QStringList& textos)
{
    QByteArray bytes("RM640-BITACORA-1\n");
    for (const QString& texto : textos) {
        const QByteArray utf8 = texto.toUtf8();
        char largo[4];
        qToBigEndian(static_cast<quint32>(utf8.size()), largo);
        bytes.append(largo, 4);
        bytes.append(utf8);
    }
    return bytes;
}

QString RegistroBitacora::Sellar(const QString& hashAnterior, const QStringList& textos)
{
    QCryptographicHash sha(QCryptographicHash::Sha256);
    sha.addData(hashAnterior.toLatin1());
    sha.addData(Serializar(textos));
    return QString::fromLatin1(sha.result().toHex());
}

} // namespace orvinda
