#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

class QSqlDatabase;

namespace orvinda {

class CeldasListado;

// One statement on a session's ODBC connection, run through the driver
// manager's own API rather than through Qt's driver, for two reasons: Qt's
// driver decodes text as UTF-16 that may begin with a byte order mark, and
// drops a leading U+FEFF (a folio that starts so would reach the list, and
// the statement, altered); and a statement Qt runs cannot be cancelled from
// another thread. Values are typed as Qt's driver types them, so a form
// sees the same thing either way.
class SentenciaOdbc
{
public:
    // The connection handle under a Qt session on ODBC; nullptr for any other.
    static void* Handle(const QSqlDatabase& db);

    // Throws ErrorRm when no statement can be made on conexion.
    explicit SentenciaOdbc(void* conexion);
    ~SentenciaOdbc();
    SentenciaOdbc(const SentenciaOdbc&) = delete;
    SentenciaOdbc& operator=(const SentenciaOdbc&) = delete;

    // Runs texto; a text of several statements runs whole, and what its
    // writes changed is added up. Throws ErrorRm, as ErrorSql words it.
    void Ejecutar(const QString& texto);
    // The columns of the first result; none when it is not a query.
    const QStringList& Nombres() const { return m_nombres; }
    bool EsConsulta() const { return !m_nombres.isEmpty(); }
    // Rows the statement's writes changed (-1 when the driver cannot tell).
    qint64 FilasAfectadas() const { return m_afectadas; }

    // The next row of the first result; false after the last. Throws ErrorRm.
    bool Siguiente();
    // The row's values, each read once, left to right.
    QVariant Valor(int columna);
    void Celda(int columna, CeldasListado& celdas);

    // What stops the statement from another thread while Ejecutar or
    // Siguiente waits: it may itself wait for the server, so the caller
    // runs it where it can be left behind. It holds the statement for as long
    // as it runs.
    std::function<void()> Cancelador() const;

private:
    struct Estado;
    void Consumir();

    std::shared_ptr<Estado> m_estado;
    QStringList m_nombres;
    QList<short> m_tipos;
    qint64 m_afectadas = -1;
};

} // namespace orvinda
