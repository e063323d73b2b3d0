#pragma once

#include <QColor>
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

    // graves: how many leading characters of the message are shown in red.
    int Mostrar(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana, const QString& modulo,
                const QString& idError, qsizetype graves = 0);
    // Yes and No, predeterminada the default button; desatendida when unattended.
    int Preguntar(const QString& mensaje, const QString& titulo, QWidget* ventana, const QString& modulo,
                  const QString& idError, int predeterminada, int desatendida);

    bool Desatendido() const { return m_desatendido; }
    // What a box shows in red; keeps 4.5:1 against a light background.
    static inline const QColor ColorGrave = QColor(180, 30, 30);

    // The answer a style expects when nobody is there to press a button.
    static int RespuestaSinUsuario(qint32 estilo);

private:
    // predeterminada 0: the box's own default button.
    int Presentar(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana, const QString& modulo,
                  const QString& idError, int predeterminada, int desatendida, qsizetype graves = 0);

    Traza* m_traza;
    bool m_desatendido;
};

} // namespace orvinda
