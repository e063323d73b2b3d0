#pragma once

#include <QString>
#include <stdexcept>

namespace orvinda {

// The one error type of the shell's library and the component: what a trapped
// error hands to MostrarMensaje is its description, exactly as the database
// driver or the failing operation worded it.
class ErrorRm : public std::runtime_error
{
public:
    // Why a database step failed, when the cause is the database itself and
    // not the statement: the forms then name that cause instead of their own hint.
    // SinRespuesta: the server stopped answering and the session was abandoned.
    // Almacenamiento: the database's disk is full or failed to write.
    enum class Causa { Sentencia, ConexionPerdida, SinRespuesta, Bloqueo, SoloLectura, Almacenamiento };

    explicit ErrorRm(const QString& descripcion, int numero = 0, Causa causa = Causa::Sentencia);

    const QString& Descripcion() const { return m_descripcion; }
    int Numero() const { return m_numero; }
    Causa ObtenerCausa() const { return m_causa; }
    // The text a form reports: its hint (may be empty) in front of the
    // description for a faulty statement, the database's cause otherwise.
    QString Explicada(const QString& pista) const;

    // The error raised when a NULL is read as text.
    static ErrorRm UsoNoValidoDeNull();
    static constexpr int NumeroNull = 94;
    // Reading a value past the last row (or before the first).
    static ErrorRm SinRegistroActual();

private:
    QString m_descripcion;
    int m_numero;
    Causa m_causa;
};

} // namespace orvinda
