#include "comun/ServidorPostgres.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <unistd.h>

namespace {

QString BuscarBinarios()
{
    QDir raiz(QStringLiteral("/usr/lib/postgresql"));
    QStringList versiones = raiz.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (auto it = versiones.crbegin(); it != versiones.crend(); ++it) {
        const QString bin = raiz.filePath(*it + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/initdb")) && QFile::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    return {};
}

bool HayControladorOdbc()
{
    QProcess p;
    p.start(QStringLiteral("odbcinst"), {QStringLiteral("-q"), QStringLiteral("-d")});
    return p.waitForFinished(10000) && p.readAllStandardOutput().contains("PostgreSQL Unicode");
}

int PuertoLibre()
{
    QTcpServer s;
    return s.listen(QHostAddress::LocalHost, 0) ? s.serverPort() : 0;
}

} // namespace

ServidorPostgres::ServidorPostgres()
{
    if (qEnvironmentVariableIsSet("RM640_SIN_SERVIDOR")) {
        m_motivo = QStringLiteral("RM640_SIN_SERVIDOR está definida");
        return;
    }
    m_bin = BuscarBinarios();
    if (m_bin.isEmpty()) {
        m_motivo = QStringLiteral("PostgreSQL no está instalado (paquete postgresql)");
        return;
    }
    if (!HayControladorOdbc()) {
        m_motivo = QStringLiteral("falta el controlador ODBC \"PostgreSQL Unicode\" (paquete odbc-postgresql)");
        return;
    }
    m_carpeta = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/rm640-pg-XXXXXX"));
    // The server refuses to run as root: it runs as the packages' own user.
    m_comoPostgres = geteuid() == 0;
    if (m_comoPostgres) {
        QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres"), m_carpeta->path()});
        QFile::setPermissions(m_carpeta->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString datos = m_carpeta->path() + QStringLiteral("/datos");
    QString salida;
    if (!Ejecutar(m_bin + QStringLiteral("/initdb"), {QStringLiteral("-D"), datos, QStringLiteral("-U"), QStringLiteral("rm640"),
                                                      QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                                                      QStringLiteral("--locale=C.UTF-8")}, &salida)) {
        m_motivo = QStringLiteral("initdb falló: ") + salida;
        return;
    }
    for (int intento = 0; intento < 3 && m_puerto == 0; ++intento) {
        const int puerto = PuertoLibre();
        const QString opciones = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off")
                                     .arg(puerto).arg(m_carpeta->path());
        if (Ejecutar(m_bin + QStringLiteral("/pg_ctl"), {QStringLiteral("-D"), datos, QStringLiteral("-o"), opciones,
                                                         QStringLiteral("-l"), m_carpeta->path() + QStringLiteral("/servidor.log"),
                                                         QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("start")}, &salida))
            m_puerto = puerto;
    }
    if (m_puerto == 0)
        m_motivo = QStringLiteral("el servidor PostgreSQL no arrancó: ") + salida;
}

ServidorPostgres::~ServidorPostgres()
{
    if (m_puerto != 0)
        Ejecutar(m_bin + QStringLiteral("/pg_ctl"), {QStringLiteral("-D"), m_carpeta->path() + QStringLiteral("/datos"),
                                                     QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
}

bool ServidorPostgres::Ejecutar(const QString& programa, const QStringList& argumentos, QString* salida)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (m_comoPostgres)
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), programa} + argumentos);
    else
        p.start(programa, argumentos);
    const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (salida)
        *salida = QString::fromLocal8Bit(p.readAll()).trimmed();
    return ok;
}

bool ServidorPostgres::CrearBaseDatos(const QString& nombre)
{
    return Ejecutar(m_bin + QStringLiteral("/createdb"), {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                                                          QString::number(m_puerto), QStringLiteral("-U"), QStringLiteral("rm640"), nombre});
}

QString ServidorPostgres::CadenaOdbc(const QString& baseDatos)
{
    return QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=%1;DATABASE=%2;UID=rm640").arg(m_puerto).arg(baseDatos);
}

bool ServidorPostgres::Reiniciar()
{
    return Ejecutar(m_bin + QStringLiteral("/pg_ctl"), {QStringLiteral("-D"), m_carpeta->path() + QStringLiteral("/datos"),
                                                        QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("restart")});
}
