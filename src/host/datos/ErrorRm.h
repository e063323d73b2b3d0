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
    explicit ErrorRm(const QString& descripcion, int numero = 0);

    const QString& Descripcion() const { return m_descripcion; }
    int Numero() const { return m_numero; }

    // The error raised when a NULL is read as text.
    static ErrorRm UsoNoValidoDeNull();
    static constexpr int NumeroNull = 94;
    // Reading a value past the last row (or before the first).
    static ErrorRm SinRegistroActual();

private:
    QString m_descripcion;
    int m_numero;
};

} // namespace orvinda
