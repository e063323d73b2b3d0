#pragma once

#include <QColor>
#include <QLabel>

namespace orvinda {

// Field label. "alignment" is QLabel's own property.
class Etiqueta : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QString idetiqueta READ idetiqueta WRITE setIdetiqueta)
    Q_PROPERTY(double fontsize READ fontsize WRITE setFontsize)
    Q_PROPERTY(bool fontbold READ fontbold WRITE setFontbold)
    Q_PROPERTY(QColor forecolor READ forecolor WRITE setForecolor)
    Q_PROPERTY(QColor backcolor READ backcolor WRITE setBackcolor)

public:
    explicit Etiqueta(QWidget* parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString& texto) { setText(texto); }
    // The key under which the shell finds the label's caption in other languages.
    QString idetiqueta() const { return m_idEtiqueta; }
    void setIdetiqueta(const QString& id) { m_idEtiqueta = id; }
    double fontsize() const { return font().pointSizeF(); }
    void setFontsize(double puntos);
    bool fontbold() const { return font().bold(); }
    void setFontbold(bool si);
    QColor forecolor() const;
    void setForecolor(const QColor& color);
    QColor backcolor() const;
    void setBackcolor(const QColor& color);

private:
    QString m_idEtiqueta;
};

} // namespace orvinda
