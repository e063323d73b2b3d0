#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvinda {

// One row of the decision log (Bitacora_Decisiones) as the chain sees it:
// its fields in a fixed order, the canonical bytes they make, and the hash
// that seals them to the row before.
struct RegistroBitacora
{
    // Decisions, and the printing that followed an authorization.
    static inline const QString Autorizacion = QStringLiteral("AU");
    static inline const QString Rechazo = QStringLiteral("RE");
    static inline const QString Impresion = QStringLiteral("IM");

    // The previous hash of the first row.
    static inline const QString HashInicial = QString(64, u'0');

    // The columns, in the order they are serialized.
    static const QStringList& Columnas();

    qint64 id = 0;
    QString fecha; // as the server wrote it
    QString operador;
    QString cuenta;
    QString maquina;
    QString clave;
    QString tabla;
    QString folio;
    QString decision;
    QString valores; // JSON
    QString sentencia;
    int filas = -1; // none (NULL) below zero
    QString comentario;
    QString origen;
    qint64 referencia = 0; // none (NULL) at zero
    QString resultado;
    QString hashAnterior;
    QString hash;

    // The texts of the serialized columns, in their order; a missing number
    // is empty text, as NULL reads.
    QStringList Textos() const;
    // What is hashed after the previous hash: a version mark, then each
    // text as its UTF-8 length (four bytes, big-endian) and its bytes.
    static QByteArray Serializar(const QStringList& textos);
    // SHA-256, in lower-case hexadecimal, over the previous hash and textos.
    static QString Sellar(const QString& hashAnterior, const QStringList& textos);
};

} // namespace orvinda
