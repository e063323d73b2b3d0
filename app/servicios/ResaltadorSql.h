#pragma once

#include <QRegularExpression>
#include <QSyntaxHighlighter>

namespace orvinda {

// Colours SQL keywords, literals and tokens of a statement box. The text
// itself is never changed: what the editor saves is what the user typed.
class ResaltadorSql : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit ResaltadorSql(QTextDocument* documento);

protected:
    void highlightBlock(const QString& texto) override;

private:
    QRegularExpression m_palabras;
    QRegularExpression m_literales;
    QRegularExpression m_marcadores;
};

} // namespace orvinda
