#pragma once

#include <QFile>
#include <QString>

namespace orvinda {

// The diagnostic trace of whoever writes configurations: every executed
// statement and every message, appended to one text file as they happen.
// That file is the user's own, private, and never reached through a link.
class Traza
{
public:
    explicit Traza(const QString& ruta);

    bool Abierta() const { return m_archivo.isOpen(); }
    // Why it could not be opened: it may not be trusted, or the system said no.
    QString Error() const { return m_error; }

    void Sentencia(const QString& texto);
    void Mensaje(const QString& mensaje, qint32 estilo, const QString& titulo, const QString& modulo,
                 const QString& idError);
    void Nota(const QString& texto);

private:
    void Escribir(const QString& linea);
    QFile m_archivo;
    QString m_error;
};

} // namespace orvinda
