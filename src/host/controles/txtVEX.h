#pragma once

#include <QColor>
#include <QLineEdit>
#include <QVariant>

namespace orvinda {

// Single-line input field. Its background tells its state: enabledcolor when
// it takes input, focuscolor while it has the focus, disabledcolor when it
// is read-only (Habilitado false, the design key "enabled").
class txtVEX : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString Texto READ Texto WRITE setTexto NOTIFY Cambio)
    Q_PROPERTY(bool Habilitado READ Habilitado WRITE setHabilitado)
    Q_PROPERTY(bool ModoNuevo READ ModoNuevo WRITE setModoNuevo)
    Q_PROPERTY(QVariant Formato READ Formato WRITE setFormato)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(int maxlength READ maxlength WRITE setMaxlength)
    Q_PROPERTY(bool tabonenter READ tabonenter WRITE setTabonenter)
    Q_PROPERTY(QColor enabledcolor READ enabledcolor WRITE setEnabledcolor)
    Q_PROPERTY(QColor disabledcolor READ disabledcolor WRITE setDisabledcolor)
    Q_PROPERTY(QColor focuscolor READ focuscolor WRITE setFocuscolor)
    Q_PROPERTY(bool esclave READ esclave WRITE setEsclave)
    Q_PROPERTY(bool mayusculas READ mayusculas WRITE setMayusculas)
    Q_PROPERTY(QString idconsulta READ idconsulta WRITE setIdconsulta)
    Q_PROPERTY(QString transaccion READ transaccion WRITE setTransaccion)

public:
    explicit txtVEX(QWidget* parent = nullptr);

    QString Texto() const { return text(); }
    void setTexto(const QString& texto);
    void setTexto(qint64 numero);
    // A column value exactly as it comes from the database (not upper-cased);
    // NULL shows as empty text.
    void setValor(const QVariant& valor);

    bool Habilitado() const { return m_habilitado; }
    void setHabilitado(bool si);
    bool ModoNuevo() const { return m_modoNuevo; }
    void setModoNuevo(bool si) { m_modoNuevo = si; }
    QVariant Formato() const { return m_formato; }
    void setFormato(const QVariant& formato) { m_formato = formato; }
    // A whole number typed into a digit mask such as "0000" is padded with
    // zeros ("5" becomes "0005"); any other text or format leaves it alone.
    void AplicarFormato();

    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool si);

    // 0: no limit.
    int maxlength() const { return m_maxlength; }
    void setMaxlength(int caracteres);
    bool tabonenter() const { return m_tabOnEnter; }
    void setTabonenter(bool si) { m_tabOnEnter = si; }
    QColor enabledcolor() const { return m_colorHabilitado; }
    void setEnabledcolor(const QColor& color);
    QColor disabledcolor() const { return m_colorDeshabilitado; }
    void setDisabledcolor(const QColor& color);
    QColor focuscolor() const { return m_colorFoco; }
    void setFocuscolor(const QColor& color);
    bool esclave() const { return m_esClave; }
    void setEsclave(bool si) { m_esClave = si; }
    bool mayusculas() const { return m_mayusculas; }
    void setMayusculas(bool si);
    QString idconsulta() const { return m_idConsulta; }
    void setIdconsulta(const QString& id) { m_idConsulta = id; }
    QString transaccion() const { return m_transaccion; }
    void setTransaccion(const QString& t) { m_transaccion = t; }

    // The colour scheme's values; a colour the field was given itself wins.
    void AplicarEsquema(const QColor& habilitado, const QColor& deshabilitado, const QColor& foco, double tamanoFuente);

signals:
    void Enter();
    void Cambio();

protected:
    // A value wider than the field shows whole in its tooltip.
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void ActualizarFondo();
    void ActualizarFoco();

    bool m_habilitado = true;
    bool m_modoNuevo = false;
    QVariant m_formato;
    bool m_tabStop = true;
    int m_maxlength = 0;
    bool m_tabOnEnter = false;
    QColor m_colorHabilitado{255, 255, 255};
    QColor m_colorDeshabilitado{224, 224, 224};
    QColor m_colorFoco{255, 255, 255};
    bool m_colorHabilitadoPropio = false;
    bool m_colorDeshabilitadoPropio = false;
    bool m_colorFocoPropio = false;
    bool m_esClave = false;
    bool m_mayusculas = false;
    QString m_idConsulta;
    QString m_transaccion;
};

} // namespace orvinda
