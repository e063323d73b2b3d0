#include "servicios/ResaltadorSql.h"

#include <QTextCharFormat>

namespace orvinda {

ResaltadorSql::ResaltadorSql(QTextDocument* documento)
    : QSyntaxHighlighter(documento)
    , m_palabras(
          QStringLiteral("\\b(SELECT|FROM|WHERE|AND|OR|NOT|IN|IS|NULL|AS|ON|JOIN|INNER|LEFT|RIGHT|OUTER|"
                         "GROUP|BY|ORDER|HAVING|UNION|ALL|DISTINCT|INSERT|INTO|VALUES|UPDATE|SET|DELETE|"
                         "CASE|WHEN|THEN|ELSE|END|CAST|SUM|COUNT|MAX|MIN|AVG|LIKE|BETWEEN|EXISTS|TOP|DESC|ASC)\\b"),
          QRegularExpression::CaseInsensitiveOption)
    , m_literales(QStringLiteral("'[^']*'|\"[^\"]*\""))
    , m_marcadores(QStringLiteral("\\{[^{}\\s]+\\}"))
{
}

void ResaltadorSql::highlightBlock(const QString& texto)
{
    QTextCharFormat palabra;
    palabra.setForeground(QColor(0, 0, 192));
    palabra.setFontWeight(QFont::Bold);
    QTextCharFormat literal;
    literal.setForeground(QColor(160, 0, 0));
    QTextCharFormat marcador;
    marcador.setForeground(QColor(0, 128, 0));
    marcador.setFontWeight(QFont::Bold);

    for (auto it = m_palabras.globalMatch(texto); it.hasNext();) {
        const auto m = it.next();
        setFormat(m.capturedStart(), m.capturedLength(), palabra);
    }
    for (auto it = m_literales.globalMatch(texto); it.hasNext();) {
        const auto m = it.next();
        setFormat(m.capturedStart(), m.capturedLength(), literal);
    }
    for (auto it = m_marcadores.globalMatch(texto); it.hasNext();) {
        const auto m = it.next();
        setFormat(m.capturedStart(), m.capturedLength(), marcador);
    }
}

} // namespace orvinda
