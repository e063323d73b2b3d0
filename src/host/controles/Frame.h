#pragma once

#include <QFrame>

namespace orvinda {

// Captioned frame used as a container: a thin border with the caption set
// into its top edge.
class Frame : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int Index READ Index WRITE setIndex)

public:
    explicit Frame(QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }
    void setCaption(const QString& texto);
    // 0 none, 1 single line.
    int BorderStyle() const { return m_borde; }
    void setBorderStyle(int estilo);
    QColor BackColor() const;
    void setBackColor(const QColor& color);
    // Position in a control array.
    int Index() const { return m_indice; }
    void setIndex(int indice) { m_indice = indice; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QString m_caption;
    int m_borde = 1;
    int m_indice = 0;
};

} // namespace orvinda
