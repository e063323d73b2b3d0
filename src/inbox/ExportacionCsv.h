#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvinda {
class ListView;
}

namespace rm640 {

// Rows as a CSV file that spreadsheets open as written: UTF-8 with its byte
// order mark (so accents survive), a header row, fields quoted as RFC 4180
// asks (a comma, a quote or a line break inside), lines ended by CR LF. A
// field that a spreadsheet would take for a formula (=, +, -, @, a tab or a
// carriage return first) is kept as text behind an apostrophe.
class ExportacionCsv
{
public:
    static QByteArray Texto(const QStringList& encabezados, const QList<QStringList>& filas);
    // The rows the list shows, in its order and through its filter, under
    // its column headers.
    static QByteArray DeLista(const orvinda::ListView& lista);
    // Written whole beside ruta and renamed into place; throws ErrorRm
    // naming the file when it cannot be.
    static void Guardar(const QString& ruta, const QByteArray& texto);
};

} // namespace rm640
