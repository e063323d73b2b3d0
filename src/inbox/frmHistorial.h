#pragma once

#include <QDate>
#include <QDialog>
#include <QString>

class QCheckBox;
class QDateEdit;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orvinda {
class ListView;
}

namespace rm640 {

// The reviewer's look back: the decisions in the log, newest first, in the
// inbox's own list (sort, filter, count). An operator sees their own of the
// last 30 days; from level 5 on, anyone's and any period. The selected
// decision shows its page values, statement, comment and printing; the
// shown rows go to a CSV file.
class frmHistorial : public QDialog
{
    Q_OBJECT

public:
    static constexpr int DiasPorOmision = 30;
    static constexpr int NivelParaTodos = 5;

    explicit frmHistorial(QWidget* parent = nullptr);
    ~frmHistorial() override;

    // Reads the list again for the chosen operators and period; returns at
    // once, the list says when it is full.
    void Consultar();
    // The listing the list is read with.
    QString Consulta() const;
    // The shown rows, as shown, to ruta. Throws ErrorRm when it cannot.
    void Exportar(const QString& ruta) const;
    // What the detail pane says about decision id.
    static QString Detalle(qint64 id);

    orvinda::ListView& lvDecisiones() const { return *m_lista; }
    QCheckBox& chkTodos() const { return *m_todos; }
    QDateEdit& dtDesde() const { return *m_desde; }
    QDateEdit& dtHasta() const { return *m_hasta; }
    QLineEdit& txtFiltro() const { return *m_filtro; }
    QLabel& lblCuenta() const { return *m_cuenta; }
    QPlainTextEdit& txtDetalle() const { return *m_detalle; }
    QPushButton& cmdExportar() const { return *m_exportar; }

    void Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& id);

protected:
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void cmdExportar_Click();
    void MostrarDetalle();
    void ActualizarCuenta();

    QString m_operador;
    orvinda::ListView* m_lista = nullptr;
    QCheckBox* m_todos = nullptr;
    QDateEdit* m_desde = nullptr;
    QDateEdit* m_hasta = nullptr;
    QLineEdit* m_filtro = nullptr;
    QLabel* m_cuenta = nullptr;
    QPlainTextEdit* m_detalle = nullptr;
    QPushButton* m_exportar = nullptr;
};

} // namespace rm640
