#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;
class QTimer;

typedef struct pg_conn PGconn;

namespace orvinda {

// A PostgreSQL session of its own that LISTENs on one channel and says when
// a NOTIFY arrives on it, without ever blocking the thread it lives on: the
// session is opened and read as its socket becomes ready. A session that
// drops is opened again after a while, and a notice is given then too,
// since what was sent meanwhile is lost.
class AvisosServidor : public QObject
{
    Q_OBJECT

public:
    // destino is the ODBC connection string of the shell's database: its
    // server, port, database, user and password (or those of its DSN).
    AvisosServidor(const QString& destino, QString canal, QObject* parent = nullptr);
    ~AvisosServidor() override;

    bool Escuchando() const { return m_escuchando; }
    // Why the last attempt failed, its password never shown.
    QString Motivo() const { return m_motivo; }

    // How long a dropped session waits before it is opened again.
    static constexpr int EsperaReconexionMs = 30000;

signals:
    void Aviso(const QString& carga);
    // LISTEN took hold (again): whatever came before is known only by reading.
    void Escuchado();

private:
    void Conectar();
    void AvanzarConexion();
    void Leer();
    void Fallar(const QString& motivo);
    void Cerrar();
    void SoltarNotificadores();

    QStringList m_claves;
    QStringList m_valores;
    QString m_canal;
    PGconn* m_sesion = nullptr;
    QSocketNotifier* m_lectura = nullptr;
    QSocketNotifier* m_escritura = nullptr;
    QTimer* m_reconexion = nullptr;
    bool m_escuchando = false;
    bool m_listenEnviado = false;
    QString m_motivo;
};

} // namespace orvinda
