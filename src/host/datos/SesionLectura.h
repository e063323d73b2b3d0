#pragma once

#include "host/datos/Conexion.h"
#include "host/datos/Vigia.h"

#include <QString>
#include <functional>

class QSqlDatabase;
class QThread;
class QObject;

namespace orvinda {

// A second session of the shell's database, on a thread of its own, for the
// reads that may take long (the inbox's listings): the window goes on taking
// input while they run, and the shell's own connection stays free for the
// commands. It opens on its first read, as the connection opened, with the
// same limits; a session lost between reads is opened again.
class SesionLectura
{
public:
    struct Ajustes
    {
        QString destino;
        Conexion::Dialecto dialecto = Conexion::Dialecto::SQLite;
        int esperaBloqueo = 0;
        int limiteSentencia = 0;
        bool soloLectura = false;
    };

    explicit SesionLectura(Ajustes ajustes);
    // Reads still queued are dropped; the one running has been asked to stop
    // by its own reader and is waited for a moment, then left to end alone.
    ~SesionLectura();
    SesionLectura(const SesionLectura&) = delete;
    SesionLectura& operator=(const SesionLectura&) = delete;

    // What watches a trabajo: the guard that cancels its statement past the
    // statement limit (the trabajo says how) and abandons the session when
    // the server does not answer even that.
    struct Vigilancia
    {
        Vigia::Guardia& guardia;
        int limite;
    };
    // Runs trabajo on the session's thread, after the ones before it, with
    // the session open; a session that could not open is handed over closed,
    // with the reason. A trabajo that returns true found the session lost
    // before it read anything: it runs once more on a new one.
    using Trabajo = std::function<bool(QSqlDatabase& db, const QString& fallaApertura, Vigilancia& vigilancia)>;
    void Encargar(Trabajo trabajo);

private:
    struct Estado;
    Estado* m_estado;
    QThread* m_hilo;
    QObject* m_contexto;
};

} // namespace orvinda
