#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A PostgreSQL server of the tests' own: a fresh data folder, a free port on
// the loopback address, stopped and removed when the object goes.
class ServidorPostgres
{
public:
    ServidorPostgres();
    ~ServidorPostgres();

    // Empty when the server runs; otherwise why the server tests are skipped.
    const QString& Motivo() const { return m_motivo; }
    bool Activo() const { return m_motivo.isEmpty(); }

    // An ODBC connection string to a database of that name, created on first use.
    QString CadenaOdbc(const QString& baseDatos = "orvinda");
    bool CrearBaseDatos(const QString& nombre);
    // Stops the server, dropping every session, and starts it again.
    bool Reiniciar();

private:
    bool Ejecutar(const QString& programa, const QStringList& argumentos, QString* salida = nullptr);

    std::unique_ptr<QTemporaryDir> m_carpeta;
    QString m_bin;
    QString m_motivo;
    int m_puerto = 0;
    bool m_comoPostgres = false;
};
