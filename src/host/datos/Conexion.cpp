#include "host/datos/Conexion.h"

#include "host/datos/AvisosServidor.h"
#include "host/datos/ErrorSql.h"
#include "host/datos/LectorSqlite.h"
#include "host/datos/LecturaListado.h"
#include "host/datos/SentenciaOdbc.h"
#include "host/datos/Sesion.h"
#include "host/datos/SesionLectura.h"
#include "host/datos/Vigia.h"
#include "host/errores/ErrorRm.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <fcntl.h>
#include <sqlite3.h>

namespace orvinda {

namespace {

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
    const QString nombre = Sesion::NombreNuevo();
    const QSqlDatabase db = Sesion::Abrir(nombre, destino);
    std::unique_ptr<Conexion> c(new Conexion(nombre, destino, Sesion::DialectoDe(db, destino)));
    c->FijarLimites(EsperaBloqueoPorOmision, LimiteSentenciaPorOmision);
    return c;
}

Conexion::Conexion(QString nombre, QString destino, Dialecto dialecto)
    : m_nombre(std::move(nombre))
    , m_destino(std::move(destino))
    , m_dialecto(dialecto)
{
}

Conexion::~Conexion()
{
    if (m_enTransaccion) {
        QSqlDatabase db = BaseDatos();
        if (db.isOpen())
            db.rollback();
    }
    Sesion::Cerrar(m_nombre);
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
    Sesion::CerrarApartadas(m_apartadas);
    QSqlDatabase db = BaseDatos();
    // A dropped session is opened again between transactions; inside one,
    // what it held is gone and the caller must see the failure.
    if (!db.isOpen() && !m_enTransaccion) {
        if (db.isValid()) {
            if (Sesion::Reabrir(db))
                AplicarLimites(db);
        } else {
            // The last one was abandoned.
            try {
                db = Sesion::Abrir(m_nombre, m_destino, m_soloLectura);
                AplicarLimites(db);
            } catch (const ErrorRm& e) {
                throw ErrorRm(e.Descripcion(), NumeroCerrada, ErrorRm::Causa::ConexionPerdida);
            }
        }
    }
    if (!db.isOpen())
        throw ErrorRm(QStringLiteral("La conexión con la base de datos está cerrada."), NumeroCerrada,
                      ErrorRm::Causa::ConexionPerdida);
    return db;
}

template <typename Paso>
auto Conexion::Vigilado(QSqlDatabase db, Desenlace desenlace, Paso&& paso)
{
    Vigia::Guardia guardia(std::chrono::seconds(m_limiteSentencia),
                           {nullptr, [canal = Sesion::Canal(m_nombre)] { canal.Cortar(); }});
    if (sqlite3* h = LectorSqlite::Handle(db))
        guardia.AlCancelar([h] { sqlite3_interrupt(h); });
    const auto abandonada = [&] {
        // A cancel may still be on its way inside the old session.
        Sesion::Apartar(m_nombre, m_apartadas);
        return ErrorSql::SinRespuesta(m_limiteSentencia, desenlace == Desenlace::Incierto);
    };
    try {
        if constexpr (std::is_void_v<decltype(paso(guardia))>) {
            paso(guardia);
            if (guardia.Abandonada())
                Sesion::Apartar(m_nombre, m_apartadas);
        } else {
            auto resultado = paso(guardia);
            // It answered after all, but through a socket that is cut.
            if (guardia.Abandonada())
                Sesion::Apartar(m_nombre, m_apartadas);
            return resultado;
        }
    } catch (const ErrorRm& e) {
        if (guardia.Abandonada())
            throw abandonada();
        if (guardia.Cancelada())
            throw ErrorSql::Cancelada(m_limiteSentencia, e);
        throw;
    }
}

void Conexion::FijarLimites(int esperaBloqueo, int limiteSentencia)
{
    m_esperaBloqueo = esperaBloqueo;
    m_limiteSentencia = limiteSentencia;
    QSqlDatabase db = BaseDatos();
    if (db.isOpen())
        AplicarLimites(db);
}

std::unique_ptr<AvisosServidor> Conexion::Escuchar(const QString& canal) const
{
    if (m_dialecto != Dialecto::PostgreSQL || !EsCadenaOdbc(m_destino))
        return nullptr;
    return std::make_unique<AvisosServidor>(m_destino, canal);
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
    // A new session gets them again.
    Sesion::Aplicar(db, Sesion::Limites(m_dialecto, m_esperaBloqueo, m_limiteSentencia));
}

bool Conexion::Reintentar(const ErrorRm& e, bool& reintentado)
{
    if (e.ObtenerCausa() != ErrorRm::Causa::ConexionPerdida)
        return false;
    // The session cannot be used again: closed, the next use opens another.
    BaseDatos().close();
    // A session that could not even be opened is not tried again at once.
    if (m_enTransaccion || reintentado || e.Numero() == NumeroCerrada)
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
    return Execute(sentencia, {});
}

Recordset Conexion::Execute(const QString& sentencia, const QVariantList& valores)
{
    bool sinEnvio = false;
    const QString texto = TextoParaEjecutar(sentencia, sinEnvio);
    if (sinEnvio)
        return Recordset();
    // Outside a transaction a write commits as it runs, whether or not its
    // answer comes back.
    const Desenlace desenlace = !m_enTransaccion && EsEscritura(texto) ? Desenlace::Incierto : Desenlace::Deshecho;
    return ConReintento([&](QSqlDatabase db) { return Ejecutar(db, texto, desenlace, valores); });
}

std::unique_ptr<LecturaListado> Conexion::LeerListado(const QString& consulta)
{
    Registrar(consulta);
    if (m_antesDePaso)
        m_antesDePaso(consulta);
    if (!m_lectura)
        m_lectura = std::make_unique<SesionLectura>(
            SesionLectura::Ajustes{m_destino, m_dialecto, m_esperaBloqueo, m_limiteSentencia, m_soloLectura});
    return std::make_unique<LecturaListado>(*m_lectura, consulta);
}

void Conexion::Compilar(const QString& sentencia)
{
    ConReintento([&](QSqlDatabase db) {
        Vigilado(db, Desenlace::Deshecho, [&](Vigia::Guardia&) {
            QSqlQuery q(db);
            if (!q.prepare(sentencia))
                throw ErrorSql::De(q.lastError());
        });
    });
}

Recordset Conexion::LeerSinRegistro(const QString& consulta)
{
    return ConReintento([&](QSqlDatabase db) { return Ejecutar(db, consulta, Desenlace::Deshecho); });
}

Recordset Conexion::Ejecutar(QSqlDatabase db, const QString& texto, Desenlace desenlace, const QVariantList& valores)
{
    m_afectados = -1;
    return Vigilado(db, desenlace, [&](Vigia::Guardia& guardia) {
        // Bound values go through Qt's driver, which binds them as they are;
        // the watchdog can still abandon such a statement, not cancel it.
        void* odbc = SentenciaOdbc::Handle(db);
        if (odbc && valores.isEmpty())
            return EjecutarOdbc(odbc, texto, guardia);
        return EjecutarQt(db, texto, valores);
    });
}

Recordset Conexion::EjecutarOdbc(void* odbc, const QString& texto, Vigia::Guardia& guardia)
{
    SentenciaOdbc s(odbc);
    guardia.AlCancelar([cancelar = s.Cancelador()] { Vigia::Aparte(cancelar); });
    s.Ejecutar(texto);
    if (!s.EsConsulta()) {
        m_afectados = static_cast<int>(s.FilasAfectadas());
        return Recordset();
    }
    std::vector<QVariantList> filas;
    const int n = static_cast<int>(s.Nombres().size());
    while (s.Siguiente()) {
        QVariantList fila;
        fila.reserve(n);
        for (int i = 0; i < n; ++i)
            fila.append(s.Valor(i));
        filas.push_back(std::move(fila));
    }
    return Recordset(s.Nombres(), std::move(filas));
}

Recordset Conexion::EjecutarQt(QSqlDatabase db, const QString& texto, const QVariantList& valores)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    bool ejecutada = false;
    if (valores.isEmpty()) {
        ejecutada = q.exec(texto);
    } else if (q.prepare(texto)) {
        for (const QVariant& v : valores)
            q.addBindValue(v);
        ejecutada = q.exec();
    }
    if (!ejecutada)
        throw ErrorSql::De(q.lastError());
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
        throw ErrorSql::De(q.lastError());
    return Recordset(std::move(nombres), std::move(filas));
}

void Conexion::BeginTrans()
{
    Registrar(QStringLiteral("BeginTrans"));
    if (m_antesDePaso)
        m_antesDePaso(QStringLiteral("BeginTrans"));
    if (m_enTransaccion)
        throw ErrorRm(QStringLiteral("La conexión ya tiene una transacción abierta."));
    ConReintento([this](QSqlDatabase db) { Vigilado(db, Desenlace::Deshecho, [&](Vigia::Guardia&) { Comenzar(db); }); });
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
            throw ErrorSql::De(prueba.lastError());
    }
    if (m_dialecto == Dialecto::SQLite && !m_soloLectura) {
        // Every transaction here writes. A deferred one would take the write
        // lock only at its first write, where a busy file fails at once
        // instead of waiting; IMMEDIATE takes it here, under the busy timeout.
        QSqlQuery inicio(db);
        if (!inicio.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw ErrorSql::De(inicio.lastError());
        return;
    }
    if (!db.transaction())
        throw ErrorSql::De(db.lastError());
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
    Vigilado(db, Desenlace::Incierto, [&](Vigia::Guardia&) {
        if (!db.commit()) {
            const ErrorRm e = ErrorSql::De(db.lastError());
            bool reintentado = true;
            Reintentar(e, reintentado);
            throw e;
        }
    });
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
    try {
        Vigilado(db, Desenlace::Deshecho, [&](Vigia::Guardia&) {
            if (!db.rollback())
                throw ErrorSql::De(db.lastError());
        });
    } catch (const ErrorRm& e) {
        // The session died with its transaction: nothing is left to undo.
        if (e.ObtenerCausa() == ErrorRm::Causa::SinRespuesta)
            return;
        if (e.ObtenerCausa() == ErrorRm::Causa::ConexionPerdida) {
            db.close();
            return;
        }
        throw;
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
