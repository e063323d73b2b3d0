#pragma once

#include "host/datos/CanalServidor.h"
#include "host/datos/Conexion.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace orvinda {

// How a session of the shell's database is opened and set up: its driver,
// the options that driver needs, and the engine's own limits. The shell's
// connection and its reading session open theirs the same way, each on the
// thread that will use it.
class Sesion
{
public:
    // A name no other session of the process has.
    static QString NombreNuevo();
    // Opens a session named nombre on the calling thread. Throws ErrorRm
    // naming the destination (its password masked) when it cannot.
    static QSqlDatabase Abrir(const QString& nombre, const QString& destino, bool soloLectura = false);
    // Opens again a session that was closed.
    static bool Reabrir(QSqlDatabase& db);
    // Closes and forgets it.
    static void Cerrar(const QString& nombre);
    // How long, in seconds, a server gets to accept a new session.
    static constexpr int EsperaConexion = 10;

    // The socket an open server session talks through; none on SQLite, or
    // when it could not be told apart.
    static CanalServidor Canal(const QString& nombre);
    // A session cut off while a cancel sent to it may still be running on
    // another thread: its owner takes a new name for the next session, and
    // the old one is closed by CerrarApartadas once nothing can be inside it.
    static void Apartar(QString& nombre, QStringList& apartadas);
    static void CerrarApartadas(QStringList& apartadas);

    // The engine, named by the driver of an open session; before it opened,
    // guessed from the destination.
    static Conexion::Dialecto DialectoDe(const QSqlDatabase& db, const QString& destino);

    // The engine's own settings for how long a lock is waited for and a
    // statement may run, in seconds (0: no limit).
    static QStringList Limites(Conexion::Dialecto dialecto, int esperaBloqueo, int limiteSentencia);
    // Run on a fresh session, outside any statement log.
    static void Aplicar(QSqlDatabase db, const QStringList& ajustes);
};

} // namespace orvinda
