#include "host/datos/AvisosServidor.h"

#include <QHash>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <libpq-fe.h>
#include <odbcinst.h>

namespace orvinda {

namespace {

// How long opening the session and its LISTEN may take.
constexpr int EsperaConexionMs = 10000;

// KEY=value pairs of an ODBC connection string, keys in upper case; a value
// in braces may hold ';' and writes '}' as "}}".
QHash<QString, QString> LeerCadena(const QString& cadena)
{
    QHash<QString, QString> pares;
    qsizetype i = 0;
    while (i < cadena.size()) {
        const qsizetype igual = cadena.indexOf(u'=', i);
        if (igual < 0)
            break;
        const QString clave = cadena.mid(i, igual - i).trimmed().toUpper();
        QString valor;
        i = igual + 1;
        if (i < cadena.size() && cadena[i] == u'{') {
            for (++i; i < cadena.size(); ++i) {
                if (cadena[i] == u'}') {
                    if (i + 1 < cadena.size() && cadena[i + 1] == u'}') {
                        valor += u'}';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                valor += cadena[i];
            }
            const qsizetype fin = cadena.indexOf(u';', i);
            i = fin < 0 ? cadena.size() : fin + 1;
        } else {
            const qsizetype fin = cadena.indexOf(u';', i);
            valor = cadena.mid(i, (fin < 0 ? cadena.size() : fin) - i).trimmed();
            i = fin < 0 ? cadena.size() : fin + 1;
        }
        if (!clave.isEmpty())
            pares.insert(clave, valor);
    }
    return pares;
}

// A key of the DSN's entry in odbc.ini.
QString LeerDsn(const QString& dsn, const char* clave)
{
    char valor[1024] = {};
    const QByteArray nombre = dsn.toUtf8();
    SQLGetPrivateProfileString(nombre.constData(), clave, "", valor, sizeof valor, "odbc.ini");
    return QString::fromUtf8(valor);
}

} // namespace

AvisosServidor::AvisosServidor(const QString& destino, QString canal, QObject* parent)
    : QObject(parent)
    , m_canal(std::move(canal))
{
    const QHash<QString, QString> cadena = LeerCadena(destino);
    const QString dsn = cadena.value(QStringLiteral("DSN"));
    // The first key of each list found in the string, then in the DSN.
    const auto valor = [&](std::initializer_list<const char*> claves) {
        for (const char* c : claves)
            if (cadena.contains(QString::fromLatin1(c).toUpper()))
                return cadena.value(QString::fromLatin1(c).toUpper());
        if (!dsn.isEmpty())
            for (const char* c : claves)
                if (const QString v = LeerDsn(dsn, c); !v.isEmpty())
                    return v;
        return QString();
    };
    const std::pair<const char*, QString> parametros[] = {
        {"host", valor({"Server", "Servername", "Host"})},
        {"port", valor({"Port"})},
        {"dbname", valor({"Database", "DB"})},
        {"user", valor({"UID", "Username", "User"})},
        {"password", valor({"PWD", "Password"})},
        {"sslmode", valor({"SSLmode"})},
        {"application_name", QStringLiteral("orvinda-avisos")},
        // A peer that is gone is found out, as on the shell's own session.
        {"keepalives", QStringLiteral("1")},
        {"keepalives_idle", QStringLiteral("30")},
        {"keepalives_interval", QStringLiteral("10")},
        {"keepalives_count", QStringLiteral("3")},
    };
    for (const auto& [clave, v] : parametros) {
        if (v.isEmpty())
            continue;
        m_claves << QString::fromLatin1(clave);
        m_valores << v;
    }
    m_reconexion = new QTimer(this);
    m_reconexion->setSingleShot(true);
    connect(m_reconexion, &QTimer::timeout, this, &AvisosServidor::Conectar);
    Conectar();
}

AvisosServidor::~AvisosServidor()
{
    Cerrar();
}

void AvisosServidor::Conectar()
{
    Cerrar();
    std::vector<QByteArray> datos;
    std::vector<const char*> claves, valores;
    for (qsizetype i = 0; i < m_claves.size(); ++i) {
        datos.push_back(m_claves[i].toUtf8());
        datos.push_back(m_valores[i].toUtf8());
    }
    for (size_t i = 0; i < datos.size(); i += 2) {
        claves.push_back(datos[i].constData());
        valores.push_back(datos[i + 1].constData());
    }
    claves.push_back(nullptr);
    valores.push_back(nullptr);
    m_sesion = PQconnectStartParams(claves.data(), valores.data(), 0);
    if (!m_sesion || PQstatus(m_sesion) == CONNECTION_BAD) {
        Fallar(m_sesion ? QString::fromUtf8(PQerrorMessage(m_sesion)) : QStringLiteral("sin memoria"));
        return;
    }
    // Polling does not honour connect_timeout: the limit is kept here.
    QTimer::singleShot(EsperaConexionMs, this, [this, sesion = m_sesion] {
        if (m_sesion == sesion && !m_escuchando)
            Fallar(QStringLiteral("el servidor no respondió en %1 s").arg(EsperaConexionMs / 1000));
    });
    AvanzarConexion();
}

void AvisosServidor::AvanzarConexion()
{
    const PostgresPollingStatusType estado = PQconnectPoll(m_sesion);
    if (estado == PGRES_POLLING_FAILED) {
        Fallar(QString::fromUtf8(PQerrorMessage(m_sesion)));
        return;
    }
    // The socket may change while libpq tries one address after another.
    const int socket = PQsocket(m_sesion);
    if (!m_lectura || m_lectura->socket() != socket) {
        SoltarNotificadores();
        m_lectura = new QSocketNotifier(socket, QSocketNotifier::Read, this);
        m_escritura = new QSocketNotifier(socket, QSocketNotifier::Write, this);
        connect(m_lectura, &QSocketNotifier::activated, this,
                [this] { m_escuchando || m_listenEnviado ? Leer() : AvanzarConexion(); });
        connect(m_escritura, &QSocketNotifier::activated, this, &AvisosServidor::AvanzarConexion);
    }
    m_lectura->setEnabled(estado != PGRES_POLLING_WRITING);
    m_escritura->setEnabled(estado == PGRES_POLLING_WRITING);
    if (estado != PGRES_POLLING_OK)
        return;
    char* nombre
        = PQescapeIdentifier(m_sesion, m_canal.toUtf8().constData(), static_cast<size_t>(m_canal.toUtf8().size()));
    const QByteArray listen = QByteArrayLiteral("LISTEN ") + nombre;
    PQfreemem(nombre);
    if (!PQsendQuery(m_sesion, listen.constData())) {
        Fallar(QString::fromUtf8(PQerrorMessage(m_sesion)));
        return;
    }
    m_listenEnviado = true;
    PQflush(m_sesion);
}

void AvisosServidor::Leer()
{
    if (!PQconsumeInput(m_sesion) || PQstatus(m_sesion) != CONNECTION_OK) {
        Fallar(QString::fromUtf8(PQerrorMessage(m_sesion)));
        return;
    }
    while (!PQisBusy(m_sesion)) {
        PGresult* resultado = PQgetResult(m_sesion);
        if (!resultado)
            break;
        const bool bien = PQresultStatus(resultado) == PGRES_COMMAND_OK;
        const QString error = QString::fromUtf8(PQresultErrorMessage(resultado));
        PQclear(resultado);
        if (!m_listenEnviado)
            continue;
        if (!bien) {
            Fallar(error);
            return;
        }
        m_listenEnviado = false;
        m_escuchando = true;
        m_motivo.clear();
        emit Escuchado();
    }
    QPointer<AvisosServidor> vivo(this);
    while (PGnotify* aviso = PQnotifies(m_sesion)) {
        const QString carga = QString::fromUtf8(aviso->extra);
        PQfreemem(aviso);
        emit Aviso(carga);
        if (!vivo || !m_sesion)
            return;
    }
}

void AvisosServidor::Fallar(const QString& motivo)
{
    m_motivo = motivo.trimmed();
    Cerrar();
    m_reconexion->start(EsperaReconexionMs);
}

void AvisosServidor::SoltarNotificadores()
{
    // Often called from one of their own signals: they stop now and are
    // deleted once that signal is done with.
    for (QSocketNotifier* n : {m_lectura, m_escritura})
        if (n) {
            n->setEnabled(false);
            n->disconnect(this);
            n->deleteLater();
        }
    m_lectura = nullptr;
    m_escritura = nullptr;
}

void AvisosServidor::Cerrar()
{
    // The notifiers stop before the socket they watch is closed.
    SoltarNotificadores();
    if (m_sesion)
        PQfinish(m_sesion);
    m_sesion = nullptr;
    m_escuchando = false;
    m_listenEnviado = false;
}

} // namespace orvinda
