#pragma once

#include "host/datos/LectorFilas.h"
#include "host/datos/Recordset.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QSqlDatabase;

namespace orvinda {

class ErrorRm;

// The shell's one database connection, in the shape the forms use it:
// Execute, BeginTrans, CommitTrans, RollbackTrans. Every text it runs is kept
// in a statement log, in order, exactly as the caller wrote it.
class Conexion
{
public:
    enum class Dialecto { SQLite, SqlServer, PostgreSQL, Otro };

    // A file path opens (or creates) an embedded SQLite database; a text with
    // "DRIVER=" or "DSN=" is an ODBC connection string. Throws ErrorRm with
    // the driver's text when the database cannot be opened.
    static std::unique_ptr<Conexion> Abrir(const QString& destino);
    static bool EsCadenaOdbc(const QString& destino);

    ~Conexion();
    Conexion(const Conexion&) = delete;
    Conexion& operator=(const Conexion&) = delete;

    Recordset Execute(const QString& sentencia);
    // A read of a setting that is not part of what the caller runs: kept out
    // of the statement log, but retried on a new session like Execute.
    Recordset LeerSinRegistro(const QString& consulta);
    // Runs a query as Execute does (logged, retried on a new session before
    // any row is read) and streams its rows into the reader.
    void Recorrer(const QString& consulta, LectorFilas& lector);
    // Rows changed by the last statement Execute ran (-1 when unknown).
    int RegistrosAfectados() const { return m_afectados; }
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool EnTransaccion() const { return m_enTransaccion; }

    // How long, in seconds, a statement waits for a lock another session
    // holds, and how long it may run (0: no limit), through each engine's own
    // settings; a lock wait that runs out fails with ErrorRm::Causa::Bloqueo.
    static constexpr int EsperaBloqueoPorOmision = 15;
    static constexpr int LimiteSentenciaPorOmision = 120;
    void FijarLimites(int esperaBloqueo, int limiteSentencia);
    int EsperaBloqueo() const { return m_esperaBloqueo; }

    // Whether the database can only be read (a file without write
    // permission, a read-only server database). From then on a statement that
    // would write fails with ErrorRm::Causa::SoloLectura without being sent.
    bool ComprobarSoloLectura();
    bool SoloLectura() const { return m_soloLectura; }

    Dialecto ObtenerDialecto() const { return m_dialecto; }
    QString NombreConexion() const { return m_nombre; }
    QSqlDatabase BaseDatos() const;

    // Log entries are the statement texts and the words "BeginTrans",
    // "CommitTrans" and "RollbackTrans".
    const QStringList& Bitacora() const { return m_bitacora; }
    void LimpiarBitacora() { m_bitacora.clear(); }
    void AlRegistrar(std::function<void(const QString&)> observador) { m_observador = std::move(observador); }

    // Fault seam: runs before every statement, BeginTrans and CommitTrans,
    // after the step is logged; an ErrorRm it throws fails that step as the
    // server would. RollbackTrans is never failed this way.
    void AntesDeCadaPaso(std::function<void(const QString& paso)> seam) { m_antesDePaso = std::move(seam); }
    // The database goes away: the connection is closed and what an open
    // transaction held is lost, as when the server drops the session.
    void Perder();

    // While SET QUOTED_IDENTIFIER is OFF, double-quoted text is a string literal.
    // Servers that do not know the setting get the same meaning by rewriting
    // such literals as single-quoted ones.
    static QString ComillasDoblesALiterales(const QString& sentencia);
    bool IdentificadoresEntreComillas() const { return m_quotedIdentifier; }

private:
    Conexion(QString nombre, Dialecto dialecto);
    void Registrar(const QString& texto);
    QSqlDatabase Abierta();
    Recordset EjecutarConReintento(const QString& texto);
    Recordset Ejecutar(QSqlDatabase db, const QString& texto);
    QString TextoParaEjecutar(const QString& sentencia, bool& sinEnvio);
    void AplicarLimites(QSqlDatabase db);
    void Comenzar(QSqlDatabase db);
    // After a failure: closes a lost session, and says whether the step may
    // run once more on a new one (outside a transaction, not retried yet).
    bool Reintentar(const ErrorRm& e, bool& reintentado);
    bool EmulaQuotedIdentifier() const { return m_dialecto != Dialecto::SqlServer; }

    QString m_nombre;
    Dialecto m_dialecto;
    bool m_enTransaccion = false;
    bool m_soloLectura = false;
    bool m_quotedIdentifier = true;
    int m_afectados = -1;
    int m_esperaBloqueo = 0;
    int m_limiteSentencia = 0;
    QStringList m_bitacora;
    std::function<void(const QString&)> m_observador;
    std::function<void(const QString&)> m_antesDePaso;
};

} // namespace orvinda
