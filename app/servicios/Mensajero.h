#pragma once

#include <QString>
#include <QVariant>
#include <functional>

class QWidget;

namespace orvinda {

class Traza;

// Presents the shell's message boxes. Unattended, nothing is shown: the
// message goes to the trace and is answered with No (or OK).
class Mensajero
{
public:
    Mensajero(Traza* traza, bool desatendido);

    int Mostrar(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana, const QString& modulo,
                const QString& idError);

    bool Desatendido() const { return m_desatendido; }

    // The answer a style expects when nobody is there to press a button.
    static int RespuestaSinUsuario(qint32 estilo);

private:
    Traza* m_traza;
    bool m_desatendido;
};

} // namespace orvinda
