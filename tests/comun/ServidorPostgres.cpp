#include "comun/ServidorPostgres.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <unistd.h>

namespace {

QString BuscarBinarios()
{
    QDir raiz("/usr/lib/postgresql");
    const QStringList versiones = raiz.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (auto it = versiones.crbegin(); it != versiones.crend(); ++it)
        if (QFile::exists(raiz.filePath(*it + "/bin/initdb")))
            return raiz.filePath(*it + "/bin/");
    return {};
}

bool HayControladorOdbc()
{
    QProcess p;
    p.start("odbcinst", {"-q", "-d"});
    return p.waitForFinished(10000) && p.readAllStandardOutput().contains("PostgreSQL Unicode");
}

} // namespace

ServidorPostgres::ServidorPostgres()
{
    m_bin = BuscarBinarios();
    if (qEnvironmentVariableIsSet("RM640_SIN_SERVIDOR"))
        m_motivo = "RM640_SIN_SERVIDOR está definida";
    else if (m_bin.isEmpty())
        m_motivo = "PostgreSQL no está instalado (paquete postgresql)";
    else if (!HayControladorOdbc())
        m_motivo = "falta el controlador ODBC \"PostgreSQL Unicode\" (paquete odbc-postgresql)";
    if (!m_motivo.isEmpty())
        return;
    m_carpeta = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/rm640-pg-XXXXXX");
    // The server refuses to run as root: it runs as the packages' own user.
    m_comoPostgres = geteuid() == 0;
    if (m_comoPostgres) {
        QProcess::execute("chown", {"postgres", m_carpeta->path()});
        QFile::setPermissions(m_carpeta->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString salida;
    if (!Ejecutar("initdb", QStringLiteral("-D %1/datos -U rm640 -A trust -E UTF8 --locale=C.UTF-8").arg(m_carpeta->path()).split(u' '), &salida)) {
        m_motivo = "initdb falló: " + salida;
        return;
    }
    for (int intento = 0; intento < 3 && m_puerto == 0; ++intento) {
        QTcpServer libre;
        const int puerto = libre.listen(QHostAddress::LocalHost, 0) ? libre.serverPort() : 0;
        libre.close();
        const QString d = m_carpeta->path(), opciones = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1").arg(puerto).arg(d);
        const QString rapido = " -c fsync=off -c synchronous_commit=off -c full_page_writes=off";
        if (Ejecutar("pg_ctl", {"-D", d + "/datos", "-o", opciones + rapido, "-l", d + "/servidor.log", "-w", "-t", "60", "start"}, &salida))
            m_puerto = puerto;
    }
    if (m_puerto == 0)
        m_motivo = "el servidor PostgreSQL no arrancó: " + salida;
}

ServidorPostgres::~ServidorPostgres()
{
    if (m_puerto != 0)
        Ejecutar("pg_ctl", QStringLiteral("-D %1/datos -m immediate -w stop").arg(m_carpeta->path()).split(u' '));
}

// programa is one of the server's own tools.
bool ServidorPostgres::Ejecutar(const QString& programa, const QStringList& argumentos, QString* salida)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (m_comoPostgres)
        p.start("runuser", QStringList{"-u", "postgres", "--", m_bin + programa} + argumentos);
    else
        p.start(m_bin + programa, argumentos);
    const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (salida)
        *salida = QString::fromLocal8Bit(p.readAll()).trimmed();
    return ok;
}

bool ServidorPostgres::CrearBaseDatos(const QString& nombre)
{
    return Ejecutar("createdb", QStringLiteral("-h 127.0.0.1 -p %1 -U rm640 %2").arg(m_puerto).arg(nombre).split(u' '));
}

QString ServidorPostgres::CadenaOdbc(const QString& baseDatos)
{
    return QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=%1;DATABASE=%2;UID=rm640").arg(m_puerto).arg(baseDatos);
}

bool ServidorPostgres::Reiniciar()
{
    return Ejecutar("pg_ctl", QStringLiteral("-D %1/datos -m fast -w restart").arg(m_carpeta->path()).split(u' '));
}
