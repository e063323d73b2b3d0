#pragma once

#include <QString>
#include <QVariant>
#include <functional>

class QWidget;

namespace orvinda {

class Traza;

// Presents the shell's message boxes. Unattended, nothing is shown: the
// message goes to the trace and is answered with No (or OK), a question
// before a command with the answer that lets the command go on.
class Mensajero
{
public:
    Mensajero(Traza* traza, bool desatendido);

    int Mostrar(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana, const QString& modulo,
                const QString& idError);
    // Yes and No, predeterminada the default button; desatendida when unattended.
    int Preguntar(const QString& mensaje, const QString& titulo, QWidget* ventana, const QString& modulo,
                  const QString& idError, int predeterminada, int desatendida);

    bool Desatendido() const { return m_desatendido; }

    // The answer a style expects when nobody is there to press a button.
    static int RespuestaSinUsuario(qint32 estilo);

private:
    // predeterminada 0: the box's own default button.
    int Presentar(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana, const QString& modulo,
                  const QString& idError, int predeterminada, int desatendida);

    Traza* m_traza;
    bool m_desatendido;
};

} // namespace orvinda
