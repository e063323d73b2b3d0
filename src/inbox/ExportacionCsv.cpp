#include "inbox/ExportacionCsv.h"

#include "host/controles/ListView.h"
#include "host/errores/ErrorRm.h"

#include <QSaveFile>

namespace rm640 {

namespace {

QString Campo(QString texto)
{
    static const QString formula = QStringLiteral("=+-@\t\r");
    if (!texto.isEmpty() && formula.contains(texto.front()))
        texto.prepend(u'\'');
    if (!texto.contains(u',') && !texto.contains(u'"') && !texto.contains(u'\n') && !texto.contains(u'\r'))
        return texto;
    texto.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + texto + u'"';
}

QString Linea(const QStringList& campos)
{
    QStringList citados;
    citados.reserve(campos.size());
    for (const QString& c : campos)
        citados << Campo(c);
    return citados.join(u',') + QStringLiteral("\r\n");
}

} // namespace

QByteArray ExportacionCsv::Texto(const QStringList& encabezados, const QList<QStringList>& filas)
{
    QString texto = Linea(encabezados);
    for (const QStringList& fila : filas)
        texto += Linea(fila);
    return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}

QByteArray ExportacionCsv::DeLista(const orvinda::ListView& lista)
{
    QStringList encabezados;
    for (int c = 0; c < lista.ColumnHeadersCount(); ++c)
        encabezados << lista.ColumnHeaderText(c);
    QList<QStringList> filas;
    filas.reserve(lista.ListItemsCount());
    for (int f = 0; f < lista.ListItemsCount(); ++f) {
        QStringList fila;
        for (int c = 0; c < encabezados.size(); ++c)
            fila << lista.ListItemText(f, c);
        filas << fila;
    }
    return Texto(encabezados, filas);
}

void ExportacionCsv::Guardar(const QString& ruta, const QByteArray& texto)
{
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(texto) != texto.size() || !archivo.commit())
        throw orvinda::ErrorRm(QStringLiteral("No se pudo escribir %1: %2").arg(ruta, archivo.errorString()));
}

} // namespace rm640
