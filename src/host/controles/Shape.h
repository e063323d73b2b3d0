#pragma once

#include <QColor>
#include <QFrame>

namespace orvinda {

// A filled rectangle such as the thin bar over each tab's frame. Like any
// drawn shape it lies beneath its sibling controls, so a frame placed over
// it covers it.
class Shape : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QColor FillColor READ FillColor WRITE setFillColor)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(int Index READ Index WRITE setIndex)

public:
    explicit Shape(QWidget* parent = nullptr);

    QColor FillColor() const { return m_relleno; }
    void setFillColor(const QColor& color);
    QColor BorderColor() const { return m_colorBorde; }
    void setBorderColor(const QColor& color);
    // 0 no border, 1 solid.
    int BorderStyle() const { return m_borde; }
    void setBorderStyle(int estilo);
    int Index() const { return m_indice; }
    void setIndex(int indice) { m_indice = indice; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    QColor m_relleno{180, 201, 75};
    QColor m_colorBorde{0, 0, 0};
    int m_borde = 0;
    int m_indice = 0;
};

} // namespace orvinda
