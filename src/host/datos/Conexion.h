#pragma once

#include "host/datos/Recordset.h"
#include "host/datos/Vigia.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QSqlDatabase;

namespace orvinda {

class AvisosServidor;
class ErrorRm;
class LecturaListado;
class SesionLectura;

// The shell's one database connection, in the shape the forms use it:
// Execute, BeginTrans, CommitTrans, RollbackTrans. Every text it runs is
// handed, in order and exactly as the caller wrote it, to whoever observes
// the statement log (the trace, a test).
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
    // The same with values bound to its ? marks rather than spliced into
    // its text (any text, any length, exactly as given); the log shows the
    // text, marks and all.
    Recordset Execute(const QString& sentencia, const QVariantList& valores);
    // A read of a setting that is not part of what the caller runs: kept out
    // of the statement log, but retried on a new session like Execute.
    Recordset LeerSinRegistro(const QString& consulta);
    // A listing read on a session of its own, off the calling thread (see
    // LecturaListado): logged here, in order with the rest, when it starts.
    std::unique_ptr<LecturaListado> LeerListado(const QString& consulta);
    // A session of its own that LISTENs on canal (see AvisosServidor), on a
    // server that knows NOTIFY; none on other engines.
    std::unique_ptr<AvisosServidor> Escuchar(const QString& canal) const;
    // Compiled without being run, outside the statement log; the engine's
    // error is thrown. Engines that cannot compile without running take it
    // as it is.
    void Compilar(const QString& sentencia);
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

    // Whether the database can only be read (a file without write
    // permission, a read-only server database). From then on a statement that
    // would write fails with ErrorRm::Causa::SoloLectura without being sent.
    bool ComprobarSoloLectura();
    bool SoloLectura() const { return m_soloLectura; }

    // Named by the driver of the open connection; before it opened, guessed
    // from the connection string.
    Dialecto ObtenerDialecto() const { return m_dialecto; }
    QSqlDatabase BaseDatos() const;

    // While a statement runs the shell shows that it is busy; the data layer
    // only says when. One indicator for the whole process.
    using IndicadorOcupado = std::function<void(bool ocupado)>;
    static void InstalarIndicadorOcupado(IndicadorOcupado indicador);

    // The statement log: each text as it runs, and the words "BeginTrans",
    // "CommitTrans" and "RollbackTrans". A write the read-only check refused
    // carries NoEnviada after its text. Nothing is kept unless somebody looks:
    // an observer sees each entry as it happens; ObservarBitacora keeps the
    // last entries, up to capacidad, for Bitacora() to read.
    static inline const QString NoEnviada = QStringLiteral(" -- no enviada: la base de datos es de solo lectura");
    void AlRegistrar(std::function<void(const QString&)> observador) { m_observador = std::move(observador); }
    void ObservarBitacora(int capacidad = 100000);
    const QStringList& Bitacora() const { return m_bitacora; }
    void LimpiarBitacora() { m_bitacora.clear(); }

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

private:
    Conexion(QString nombre, QString destino, Dialecto dialecto);
    void Registrar(const QString& texto);
    QSqlDatabase Abierta();
    // What is known of a statement that never answered.
    enum class Desenlace { Deshecho, Incierto };
    // Runs paso under the watchdog: past the statement limit it is
    // cancelled, and a moment later, if the server does not answer even
    // that, the session is abandoned and paso fails with
    // ErrorRm::Causa::SinRespuesta.
    template <typename Paso>
    auto Vigilado(QSqlDatabase db, Desenlace desenlace, Paso&& paso);
    // Runs paso on the open session; a session lost outside a transaction is
    // opened again and paso runs once more.
    template <typename Paso>
    auto ConReintento(Paso&& paso);
    Recordset Ejecutar(QSqlDatabase db, const QString& texto, Desenlace desenlace, const QVariantList& valores = {});
    Recordset EjecutarOdbc(void* odbc, const QString& texto, Vigia::Guardia& guardia);
    Recordset EjecutarQt(QSqlDatabase db, const QString& texto, const QVariantList& valores);
    QString TextoParaEjecutar(const QString& sentencia, bool& sinEnvio);
    void AplicarLimites(QSqlDatabase db);
    void Comenzar(QSqlDatabase db);
    // After a failure: closes a lost session, and says whether the step may
    // run once more on a new one (outside a transaction, not retried yet).
    bool Reintentar(const ErrorRm& e, bool& reintentado);
    bool EmulaQuotedIdentifier() const { return m_dialecto != Dialecto::SqlServer; }

    static constexpr int NumeroCerrada = 3709;

    QString m_nombre;
    // Sessions abandoned, not yet closed (see Sesion::Apartar).
    QStringList m_apartadas;
    QString m_destino;
    Dialecto m_dialecto;
    bool m_enTransaccion = false;
    bool m_soloLectura = false;
    bool m_quotedIdentifier = true;
    int m_afectados = -1;
    int m_esperaBloqueo = 0;
    int m_limiteSentencia = 0;
    int m_capacidadBitacora = 0;
    QStringList m_bitacora;
    std::function<void(const QString&)> m_observador;
    std::function<void(const QString&)> m_antesDePaso;
    std::unique_ptr<SesionLectura> m_lectura;
};

} // namespace orvinda
