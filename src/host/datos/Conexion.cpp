#include "host/datos/Conexion.h"

#include "host/datos/ArchivoVerificado.h"
#include "host/datos/Secretos.h"
#include "host/errores/ErrorRm.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <fcntl.h>

namespace orvinda {

namespace {

QString TextoError(const QSqlError& e)
{
    const QString base = e.databaseText().trimmed();
    return base.isEmpty() ? e.driverText().trimmed() : base;
}

bool Contiene(const QSqlError& e, std::initializer_list<const char*> codigos, std::initializer_list<const char*> textos)
{
    const QString codigo = e.nativeErrorCode();
    for (const char* c : codigos)
        if (codigo.startsWith(QLatin1String(c)))
            return true;
    const QString texto = e.text();
    for (const char* t : textos)
        if (texto.contains(QLatin1String(t), Qt::CaseInsensitive))
            return true;
    return false;
}

// The session is gone (server restarted, network cut), as opposed to a
// statement the server refused. Drivers word it differently; the SQL state
// class 08 and the server's shutdown states are the common ground.
bool SesionPerdida(const QSqlError& e)
{
    return Contiene(e, {"08", "57P0"},
                    {"server closed the connection", "no connection to the server", "could not send data",
                     "could not receive data", "terminating connection", "connection not open",
                     "communication link failure", "connection is closed", "connection lost"});
}

ErrorRm ErrorDe(const QSqlError& e)
{
    ErrorRm::Causa causa = ErrorRm::Causa::Sentencia;
    if (SesionPerdida(e))
        causa = ErrorRm::Causa::ConexionPerdida;
    else if (Contiene(e, {"55P03", "1222"},
                      {"lock timeout", "database is locked", "database table is locked", "lock request time out"}))
        causa = ErrorRm::Causa::Bloqueo;
    else if (Contiene(e, {"25006"}, {"readonly database", "read-only transaction"}))
        causa = ErrorRm::Causa::SoloLectura;
    return ErrorRm(TextoError(e), 0, causa);
}

// Whether a statement changes the database: what a read-only database
// refuses without sending it.
bool EsEscritura(const QString& sentencia)
{
    static const QRegularExpression escritura(
        QStringLiteral(
            "^[\\s(]*(INSERT|UPDATE|DELETE|MERGE|CREATE|DROP|ALTER|TRUNCATE|REPLACE|EXEC|EXECUTE|GRANT|REVOKE)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return escritura.match(sentencia).hasMatch();
}

Conexion::IndicadorOcupado g_indicador;

// Says the process is busy for as long as it lives.
class Ocupado
{
public:
    Ocupado()
    {
        if (g_indicador)
            g_indicador(true);
    }
    ~Ocupado()
    {
        if (g_indicador)
            g_indicador(false);
    }
    Ocupado(const Ocupado&) = delete;
    Ocupado& operator=(const Ocupado&) = delete;
};

// What the string says, before a driver can say better.
Conexion::Dialecto DialectoCadena(const QString& cadena)
{
    const QString c = cadena.toUpper();
    if (c.contains(QLatin1String("SQL SERVER")) || c.contains(QLatin1String("FREETDS"))
        || c.contains(QLatin1String("SQLSRV")))
        return Conexion::Dialecto::SqlServer;
    if (c.contains(QLatin1String("POSTGRES")) || c.contains(QLatin1String("PSQLODBC")))
        return Conexion::Dialecto::PostgreSQL;
    return Conexion::Dialecto::Otro;
}

// Qt's ODBC driver puts "DSN=" in front of any string that names neither a
// driver nor a server: a string that only names a data source goes to it
// with that name first and without its key.
QString CadenaParaQodbc(const QString& cadena)
{
    if (cadena.contains(QLatin1String("DRIVER="), Qt::CaseInsensitive)
        || cadena.contains(QLatin1String("SERVER="), Qt::CaseInsensitive))
        return cadena;
    QStringList partes = cadena.split(u';');
    for (qsizetype i = 0; i < partes.size(); ++i) {
        const QString clave = partes[i].section(u'=', 0, 0).trimmed();
        if (clave.compare(QLatin1String("DSN"), Qt::CaseInsensitive) == 0) {
            const QString nombre = partes.takeAt(i).section(u'=', 1);
            partes.prepend(nombre);
            break;
        }
    }
    return partes.join(u';');
}

bool EsSentenciaQuoted(const QString& s, bool& activar)
{
    const QString t = s.simplified().toUpper();
    if (t == QLatin1String("SET QUOTED_IDENTIFIER OFF")) {
        activar = false;
        return true;
    }
    if (t == QLatin1String("SET QUOTED_IDENTIFIER ON")) {
        activar = true;
        return true;
    }
    return false;
}

// SQLite opens its file again by its path: the file is judged first on a
// descriptor, and once SQLite has opened it the path must still name it.
// Left open: whoever may write the folder could swap another file in and
// ours back between the two; such a person can replace the database anyway.
ArchivoVerificado ArchivoSqlite(const QString& destino)
{
    const QFileInfo info(destino);
    if (!info.absoluteDir().exists())
        throw ErrorRm(QStringLiteral("No se puede abrir la base de datos %1: la carpeta %2 no existe.")
                          .arg(destino, info.absolutePath()));
    ArchivoVerificado archivo = ArchivoVerificado::AbrirOCrear(destino, O_RDONLY, ArchivoVerificado::Uso::Escribir);
    if (!archivo.Abierto())
        throw ErrorRm(QStringLiteral("No se abre la base de datos %1: %2.").arg(destino, archivo.Motivo()));
    // Statements and documents: the user's alone.
    archivo.Privatizar();
    return archivo;
}

Conexion::Dialecto DialectoDriver(const QSqlDatabase& db, Conexion::Dialecto supuesto)
{
    switch (db.driver() ? db.driver()->dbmsType() : QSqlDriver::UnknownDbms) {
    case QSqlDriver::SQLite: return Conexion::Dialecto::SQLite;
    case QSqlDriver::PostgreSQL: return Conexion::Dialecto::PostgreSQL;
    case QSqlDriver::MSSqlServer: return Conexion::Dialecto::SqlServer;
    case QSqlDriver::UnknownDbms: return supuesto;
    default: return Conexion::Dialecto::Otro;
    }
}

} // namespace

void Conexion::InstalarIndicadorOcupado(IndicadorOcupado indicador)
{
    g_indicador = std::move(indicador);
}

bool Conexion::EsCadenaOdbc(const QString& destino)
{
    return destino.contains(QLatin1String("DRIVER="), Qt::CaseInsensitive)
        || destino.contains(QLatin1String("DSN="), Qt::CaseInsensitive);
}

std::unique_ptr<Conexion> Conexion::Abrir(const QString& destino)
{
    static QAtomicInt contador;
    const QString nombre = QStringLiteral("orvinda_%1").arg(contador.fetchAndAddRelaxed(1));
    const bool odbc = EsCadenaOdbc(destino);
    const ArchivoVerificado archivo = odbc ? ArchivoVerificado() : ArchivoSqlite(destino);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(odbc ? QStringLiteral("QODBC") : QStringLiteral("QSQLITE"), nombre);
        if (!db.isValid()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(nombre);
            throw ErrorRm(QStringLiteral("No está instalado el controlador de base de datos %1.")
                              .arg(odbc ? "QODBC" : "QSQLITE"));
        }
        db.setDatabaseName(odbc ? CadenaParaQodbc(destino) : destino);
        // Two shells on one file wait for each other instead of failing at once.
        if (!odbc)
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(EsperaBloqueoPorOmision * 1000));
        if (!db.open()) {
            const QString texto = TextoError(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(nombre);
            // The driver's words on a line of their own: masking ends a
            // password at the end of its line.
            throw ErrorRm(
                Secretos::Ocultar(QStringLiteral("No se puede abrir la base de datos %1:\n%2").arg(destino, texto)));
        }
    }
    const Dialecto supuesto = odbc ? DialectoCadena(destino) : Dialecto::SQLite;
    std::unique_ptr<Conexion> c(new Conexion(nombre, DialectoDriver(QSqlDatabase::database(nombre, false), supuesto)));
    c->FijarLimites(EsperaBloqueoPorOmision, LimiteSentenciaPorOmision);
    if (!odbc) {
        // SQLite opens anything lazily; a file that is not a database shows here.
        try {
            c->LeerSinRegistro(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"));
        } catch (const ErrorRm& e) {
            throw ErrorRm(QStringLiteral("No se puede abrir la base de datos %1: %2").arg(destino, e.Descripcion()));
        }
        if (!archivo.EstaEn(destino))
            throw ErrorRm(
                QStringLiteral("No se abre la base de datos %1: otro archivo ocupó su lugar mientras se abría.")
                    .arg(destino));
    }
    return c;
}

Conexion::Conexion(QString nombre, Dialecto dialecto)
    : m_nombre(std::move(nombre))
    , m_dialecto(dialecto)
{
}

Conexion::~Conexion()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_nombre, false);
        if (db.isOpen()) {
            if (m_enTransaccion)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_nombre);
}

QSqlDatabase Conexion::BaseDatos() const
{
    return QSqlDatabase::database(m_nombre, false);
}

void Conexion::ObservarBitacora(int capacidad)
{
    m_capacidadBitacora = capacidad;
    while (m_bitacora.size() > m_capacidadBitacora)
        m_bitacora.removeFirst();
}

void Conexion::Registrar(const QString& texto)
{
    if (m_capacidadBitacora > 0) {
        if (m_bitacora.size() >= m_capacidadBitacora)
            m_bitacora.removeFirst();
        m_bitacora.append(texto);
    }
    if (m_observador)
        m_observador(texto);
}

QSqlDatabase Conexion::Abierta()
{
    QSqlDatabase db = BaseDatos();
    // A dropped session is opened again between transactions; inside one,
    // what it held is gone and the caller must see the failure.
    if (!db.isOpen() && !m_enTransaccion && db.open())
        AplicarLimites(db);
    if (!db.isOpen())
        throw ErrorRm(QStringLiteral("La conexión con la base de datos está cerrada."), 3709,
                      ErrorRm::Causa::ConexionPerdida);
    return db;
}

void Conexion::FijarLimites(int esperaBloqueo, int limiteSentencia)
{
    m_esperaBloqueo = esperaBloqueo;
    m_limiteSentencia = limiteSentencia;
    QSqlDatabase db = BaseDatos();
    if (db.isOpen())
        AplicarLimites(db);
}

bool Conexion::ComprobarSoloLectura()
{
    QSqlDatabase db = BaseDatos();
    bool soloLectura = false;
    if (m_dialecto == Dialecto::SQLite) {
        const QFileInfo archivo(db.databaseName());
        const QFileInfo carpeta(archivo.absolutePath());
        constexpr auto escritura = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        soloLectura = !archivo.isWritable() || !(archivo.permissions() & escritura) || !carpeta.isWritable();
        if (soloLectura) {
            // Opened read-only, so that even a user who could write anyway
            // (root) writes nothing.
            db.close();
            db.setConnectOptions(db.connectOptions() + QStringLiteral(";QSQLITE_OPEN_READONLY"));
            if (db.open())
                AplicarLimites(db);
        }
    } else {
        const QString consulta = m_dialecto == Dialecto::PostgreSQL ? QStringLiteral("SHOW transaction_read_only")
            : m_dialecto == Dialecto::SqlServer
            ? QStringLiteral("SELECT CASE WHEN DATABASEPROPERTYEX(DB_NAME(), 'Updateability') = 'READ_ONLY' THEN 'on' "
                             "ELSE 'off' END")
            : QString();
        QSqlQuery q(db);
        soloLectura
            = !consulta.isEmpty() && q.exec(consulta) && q.next() && q.value(0).toString() == QLatin1String("on");
    }
    m_soloLectura = soloLectura;
    return soloLectura;
}

void Conexion::AplicarLimites(QSqlDatabase db)
{
    // Each engine's own setting, in milliseconds; a new session gets them again.
    const QString bloqueo = QString::number(qMax(0, m_esperaBloqueo) * 1000);
    QStringList ajustes;
    switch (m_dialecto) {
    case Dialecto::SQLite: ajustes << QStringLiteral("PRAGMA busy_timeout = ") + bloqueo; break;
    case Dialecto::PostgreSQL:
        ajustes << QStringLiteral("SET lock_timeout = ") + bloqueo
                << QStringLiteral("SET statement_timeout = %1").arg(qMax(0, m_limiteSentencia) * 1000);
        break;
    case Dialecto::SqlServer: ajustes << QStringLiteral("SET LOCK_TIMEOUT ") + bloqueo; break;
    case Dialecto::Otro: break;
    }
    QSqlQuery q(db);
    for (const QString& a : ajustes)
        q.exec(a);
}

bool Conexion::Reintentar(const ErrorRm& e, bool& reintentado)
{
    if (e.ObtenerCausa() != ErrorRm::Causa::ConexionPerdida)
        return false;
    // The session cannot be used again: closed, the next use opens another.
    BaseDatos().close();
    if (m_enTransaccion || reintentado)
        return false;
    reintentado = true;
    return true;
}

void Conexion::Perder()
{
    QSqlDatabase db = BaseDatos();
    if (db.isOpen()) {
        if (m_enTransaccion)
            db.rollback();
        db.close();
    }
}

QString Conexion::TextoParaEjecutar(const QString& sentencia, bool& sinEnvio)
{
    if (m_soloLectura && EsEscritura(sentencia)) {
        Registrar(sentencia + NoEnviada);
        throw ErrorRm(QStringLiteral("No se intentó escribir: la base de datos es de solo lectura."), 0,
                      ErrorRm::Causa::SoloLectura);
    }
    Registrar(sentencia);
    if (m_antesDePaso)
        m_antesDePaso(sentencia);
    Abierta();

    sinEnvio = false;
    bool activar = true;
    if (EsSentenciaQuoted(sentencia, activar)) {
        m_quotedIdentifier = activar;
        if (EmulaQuotedIdentifier()) {
            sinEnvio = true;
            return QString();
        }
    }
    return (!m_quotedIdentifier && EmulaQuotedIdentifier()) ? ComillasDoblesALiterales(sentencia) : sentencia;
}

template <typename Paso>
auto Conexion::ConReintento(Paso&& paso)
{
    // Outside a transaction nothing is lost with the session: the step runs
    // once more on a new one.
    const Ocupado ocupado;
    bool reintentado = false;
    for (;;) {
        try {
            return paso(Abierta());
        } catch (const ErrorRm& e) {
            if (!Reintentar(e, reintentado))
                throw;
        }
    }
}

Recordset Conexion::Execute(const QString& sentencia)
{
    bool sinEnvio = false;
    const QString texto = TextoParaEjecutar(sentencia, sinEnvio);
    if (sinEnvio)
        return Recordset();
    return ConReintento([&](QSqlDatabase db) { return Ejecutar(db, texto); });
}

void Conexion::Recorrer(const QString& consulta, LectorFilas& lector)
{
    bool sinEnvio = false;
    const QString texto = TextoParaEjecutar(consulta, sinEnvio);
    if (sinEnvio) {
        lector.Columnas({});
        return;
    }
    m_afectados = -1;
    ConReintento([&](QSqlDatabase db) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(texto))
            throw ErrorDe(q.lastError());
        const QSqlRecord registro = q.record();
        QStringList nombres;
        nombres.reserve(registro.count());
        for (int i = 0; i < registro.count(); ++i)
            nombres.append(registro.fieldName(i));
        lector.Columnas(nombres);
        const int n = static_cast<int>(nombres.size());
        std::vector<QVariant> valores(n);
        while (q.next()) {
            for (int i = 0; i < n; ++i)
                valores[i] = q.value(i);
            if (!lector.Fila(valores.data(), n))
                return;
        }
        if (q.lastError().isValid())
            throw ErrorDe(q.lastError());
    });
}

void Conexion::Compilar(const QString& sentencia)
{
    ConReintento([&](QSqlDatabase db) {
        QSqlQuery q(db);
        if (!q.prepare(sentencia))
            throw ErrorDe(q.lastError());
    });
}

Recordset Conexion::LeerSinRegistro(const QString& consulta)
{
    return ConReintento([&](QSqlDatabase db) { return Ejecutar(db, consulta); });
}

Recordset Conexion::Ejecutar(QSqlDatabase db, const QString& texto)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    m_afectados = -1;
    if (!q.exec(texto))
        throw ErrorDe(q.lastError());
    if (!q.isSelect()) {
        m_afectados = q.numRowsAffected();
        return Recordset();
    }

    const QSqlRecord registro = q.record();
    QStringList nombres;
    nombres.reserve(registro.count());
    for (int i = 0; i < registro.count(); ++i)
        nombres.append(registro.fieldName(i));
    std::vector<QVariantList> filas;
    while (q.next()) {
        QVariantList fila;
        fila.reserve(nombres.size());
        for (int i = 0; i < nombres.size(); ++i)
            fila.append(q.value(i));
        filas.push_back(std::move(fila));
    }
    if (q.lastError().isValid())
        throw ErrorDe(q.lastError());
    return Recordset(std::move(nombres), std::move(filas));
}

void Conexion::BeginTrans()
{
    Registrar(QStringLiteral("BeginTrans"));
    if (m_antesDePaso)
        m_antesDePaso(QStringLiteral("BeginTrans"));
    if (m_enTransaccion)
        throw ErrorRm(QStringLiteral("La conexión ya tiene una transacción abierta."));
    ConReintento([this](QSqlDatabase db) { Comenzar(db); });
    m_enTransaccion = true;
}

void Conexion::Comenzar(QSqlDatabase db)
{
    if (m_dialecto != Dialecto::SQLite) {
        // A server session that died while idle shows only at the next
        // statement, which inside the transaction could not be retried: it is
        // tried here, where a new session costs nothing.
        QSqlQuery prueba(db);
        if (!prueba.exec(QStringLiteral("SELECT 1")))
            throw ErrorDe(prueba.lastError());
    }
    if (m_dialecto == Dialecto::SQLite && !m_soloLectura) {
        // Every transaction here writes. A deferred one would take the write
        // lock only at its first write, where a busy file fails at once
        // instead of waiting; IMMEDIATE takes it here, under the busy timeout.
        QSqlQuery inicio(db);
        if (!inicio.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw ErrorDe(inicio.lastError());
        return;
    }
    if (!db.transaction())
        throw ErrorDe(db.lastError());
}

void Conexion::CommitTrans()
{
    Registrar(QStringLiteral("CommitTrans"));
    if (m_antesDePaso)
        m_antesDePaso(QStringLiteral("CommitTrans"));
    if (!m_enTransaccion)
        throw ErrorRm(QStringLiteral("No hay ninguna transacción activa."), 3724);
    const Ocupado ocupado;
    QSqlDatabase db = BaseDatos();
    if (!db.commit()) {
        const ErrorRm e = ErrorDe(db.lastError());
        bool reintentado = true;
        Reintentar(e, reintentado);
        throw e;
    }
    m_enTransaccion = false;
}

void Conexion::RollbackTrans()
{
    Registrar(QStringLiteral("RollbackTrans"));
    if (!m_enTransaccion)
        throw ErrorRm(QStringLiteral("No hay ninguna transacción activa."), 3724);
    m_enTransaccion = false;
    QSqlDatabase db = BaseDatos();
    // A lost session took its transaction with it: nothing is left to undo.
    if (!db.isOpen())
        return;
    if (!db.rollback()) {
        const ErrorRm e = ErrorDe(db.lastError());
        // The session died with its transaction: nothing is left to undo.
        if (e.ObtenerCausa() == ErrorRm::Causa::ConexionPerdida) {
            db.close();
            return;
        }
        throw e;
    }
}

QString Conexion::ComillasDoblesALiterales(const QString& s)
{
    QString r;
    r.reserve(s.size() + 16);
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c == u'\'') {
            // Copy a single-quoted literal as it stands, '' included.
            r.append(c);
            ++i;
            while (i < n) {
                r.append(s[i]);
                if (s[i] == u'\'') {
                    if (i + 1 < n && s[i + 1] == u'\'') {
                        r.append(s[i + 1]);
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
        } else if (c == u'[') {
            while (i < n && s[i] != u']')
                r.append(s[i++]);
        } else if (c == u'"') {
            r.append(u'\'');
            ++i;
            while (i < n) {
                if (s[i] == u'"') {
                    if (i + 1 < n && s[i + 1] == u'"') {
                        r.append(u'"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (s[i] == u'\'')
                    r.append(u'\'');
                r.append(s[i++]);
            }
            r.append(u'\'');
        } else {
            r.append(c);
            ++i;
        }
    }
    return r;
}

} // namespace orvinda
