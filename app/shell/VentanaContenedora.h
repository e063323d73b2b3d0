#pragma once

#include <QWidget>

namespace orvinda {

// The shell's window around one screen. The screen reaches it by name only:
// "Transaccion" for its transaction code and "Unload" to close it.
class VentanaContenedora : public QWidget
{
    Q_OBJECT

public:
    explicit VentanaContenedora(QString transaccion, QWidget* parent = nullptr);

    void Alojar(QWidget* pantalla);

    Q_INVOKABLE QString Transaccion() const;
    Q_INVOKABLE void Unload();

signals:
    void Cerrada();

protected:
    void closeEvent(QCloseEvent* evento) override;
    // The window opens where it was left, or fits the screen it opens on,
    // whatever size the screen asks for.
    void showEvent(QShowEvent* evento) override;

private:
    // Per user and per screen, in the shell's own settings.
    QString ClaveGeometria() const;

    QString m_transaccion;
    bool m_restaurada = false;
};

} // namespace orvinda
