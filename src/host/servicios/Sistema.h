#pragma once

#include "host/servicios/ObjetoServicio.h"

#include <QString>
#include <QVariant>

class QWidget;

namespace orvinda {

class Conexion;

// The shell's system services: the connection, the operator, parameters and
// messages. Arguments and results as the screens pass and read them.
class Sistema : public ObjetoServicio
{
public:
    static constexpr const char* IdPrograma = "Orvinda.Sistema";

    // Message-box styles and answers, as numbers, as the screens pass them.
    static constexpr int EstiloError = 16;
    static constexpr int EstiloPregunta = 36;
    static constexpr int EstiloAdvertencia = 48;
    static constexpr int EstiloInformacion = 64;
    static constexpr int RespuestaAceptar = 1;
    static constexpr int RespuestaSi = 6;
    static constexpr int RespuestaNo = 7;

    // The same open connection on every call: a transaction begun on one fetch
    // is executed and committed on later ones.
    virtual Conexion& ObtenerConexion() = 0;
    virtual QString ObtenerOperador() = 0;
    virtual qint16 NivelSistema() = 0;
    virtual QVariant LeerParametro(const QString& clave, int ambito, const QString& tipo, const QString& omision) = 0;
    // ventana is the calling form's window; the answer is a button number.
    virtual QVariant MostrarMensaje(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana,
                                    const QString& modulo, const QString& idError)
        = 0;
    // A yes/no question (style 36) before a command the user asked for: its
    // default button is predeterminada, and with nobody there to answer
    // (unattended) the answer is desatendida, so that the command may go on.
    // A shell that cannot tell them apart asks it as any other message.
    virtual QVariant Preguntar(const QString& mensaje, const QString& titulo, QWidget* ventana, const QString& modulo,
                               const QString& idError, [[maybe_unused]] int predeterminada,
                               [[maybe_unused]] int desatendida)
    {
        return MostrarMensaje(mensaje, EstiloPregunta, titulo, ventana, modulo, idError);
    }
    // As MostrarMensaje, its first graves characters being what went wrong:
    // a shell that can sets them apart from the rest (in red); one that
    // cannot shows the message as any other.
    virtual QVariant MostrarInforme(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana,
                                    const QString& modulo, const QString& idError, [[maybe_unused]] qsizetype graves)
    {
        return MostrarMensaje(mensaje, estilo, titulo, ventana, modulo, idError);
    }
    // Opens a file the user asked to see with the desktop's viewer. False:
    // this shell does not, and the caller opens it itself.
    virtual bool AbrirArchivo([[maybe_unused]] const QString& ruta) { return false; }
};

} // namespace orvinda
