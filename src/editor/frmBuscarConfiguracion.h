#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace orvinda {
class ListView;
}

namespace rm640 {

// Every configuration that exists, deleted ones included, for the editor to
// open on: key, description, tab label and state, narrowed as the inbox's
// lists are by the text typed above them. Enter or a double click on a row
// chooses it.
class frmBuscarConfiguracion : public QDialog
{
    Q_OBJECT

public:
    explicit frmBuscarConfiguracion(QWidget* parent = nullptr);

    // Reads the configurations; throws when the read fails.
    void Cargar();
    orvinda::ListView& lstConfiguraciones() const { return *m_lista; }
    QLineEdit& txtFiltro() const { return *m_filtro; }
    // The key of the row chosen; empty until one is.
    const QString& Elegida() const { return m_elegida; }
    // As Enter on the row of that key; false when it is not shown.
    bool Elegir(const QString& clave);

    // What the state column reads for a value of Es_Cve_Estado.
    static QString TextoEstado(const QVariant& estado);

protected:
    void showEvent(QShowEvent* evento) override;

private:
    void ElegirSeleccionada();

    orvinda::ListView* m_lista = nullptr;
    QLineEdit* m_filtro = nullptr;
    QPushButton* m_abrir = nullptr;
    QString m_elegida;
};

} // namespace rm640
