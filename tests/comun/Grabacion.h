#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

// What the recording shell saw, shared by the recorders that the component
// creates and the test that inspects them.
struct Grabacion
{
    struct Mensaje
    {
        QString mensaje;
        qint32 estilo = 0;
        QString titulo;
        QString idError;
        QString nombreVentana; // read when shown: the window may be gone later
        qsizetype graves = 0; // leading characters the shell sets apart in red
    };

    // Every call in order, e.g. "BuscarValor(Configuracion_Autorizacion,Ca_Cve_Configuracion_Autorizacion,0001,Ca_Tabla,0,,,)".
    QStringList llamadas;
    QList<Mensaje> mensajes;
    QList<int> respuestas; // scripted answers to MostrarMensaje, first in first out
    // Questions asked through Preguntar, kept apart from the messages; each
    // gets its scripted answer, or when none is left the unattended one.
    QList<Mensaje> preguntas;
    QList<int> respuestasPreguntas;
    std::function<void(const Mensaje&)> alMostrar;

    QString operador = "PRUEBA";
    qint16 nivel = 4;
    QHash<QString, QVariant> parametros; // missing: null QVariant
    QDateTime fechaServidor = QDateTime(QDate(2026, 12, 6), QTime(10, 30, 0));
    qint32 siguienteClave = 7;
    QStringList comentarios; // "tabla|folio|comentario"
    std::function<void(QString&)> alGuardarComentario;
    QString transaccion = "TRANSACCION-SHELL";

    QStringList LlamadasA(const QString& operacion) const;
    // Every message as "id|style|title|window|text", for comparing whole lists.
    QStringList Avisos() const;
    // The same, forgetting them, so the next check sees only what follows.
    QStringList TomarAvisos();
};
