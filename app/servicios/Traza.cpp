#include "servicios/Traza.h"

#include "host/datos/ArchivoVerificado.h"
#include "host/datos/Secretos.h"

#include <QDateTime>
#include <fcntl.h>

namespace orvinda {

Traza::Traza(const QString& ruta)
{
    ArchivoVerificado archivo
        = ArchivoVerificado::AbrirOCrear(ruta, O_WRONLY | O_APPEND, ArchivoVerificado::Uso::Escribir);
    if (!archivo.Abierto()) {
        m_error = archivo.Motivo();
        return;
    }
    // Statements and messages carry the business's data: the user's alone.
    archivo.Privatizar();
    if (!m_archivo.open(archivo.Descriptor(), QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text,
                        QFileDevice::AutoCloseHandle))
        m_error = m_archivo.errorString();
    else
        archivo.Soltar();
}

void Traza::Escribir(const QString& linea)
{
    if (!m_archivo.isOpen())
        return;
    m_archivo.write(Secretos::Ocultar(linea).toUtf8());
    m_archivo.write("\n");
    // Flushed at once: the trace is read after a crash too.
    m_archivo.flush();
}

void Traza::Sentencia(const QString& texto)
{
    Escribir(QStringLiteral("SQL %1").arg(texto));
}

void Traza::Mensaje(const QString& mensaje, qint32 estilo, const QString& titulo, const QString& modulo,
                    const QString& idError)
{
    Escribir(QStringLiteral("MSG %1 estilo=%2 titulo=\"%3\" modulo=%4 texto=\"%5\"")
                 .arg(idError)
                 .arg(estilo)
                 .arg(titulo, modulo, mensaje));
}

void Traza::Nota(const QString& texto)
{
    Escribir(QStringLiteral("--- %1 %2").arg(QDateTime::currentDateTime().toString(Qt::ISODate), texto));
}

} // namespace orvinda
