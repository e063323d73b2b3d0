#include "servicios/ImpresorOrvinda.h"

#include "host/datos/Conexion.h"
#include "host/errores/ErrorRm.h"
#include "marcadores/MarcadoresHtml.h"
#include "servicios/Mensajero.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/TextoSql.h"
#include "servicios/TrabajoPdf.h"
#include "servicios/Traza.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace orvinda {

namespace {

// The component's RM640_PLANTILLA_SIN_ESCAPAR, read as the component reads
// it: outside the statement log, and off unless it reads as yes.
rm640::MarcadoresHtml::Modo ModoPlantilla(Conexion& conexion)
{
    try {
        Recordset rs = conexion.LeerSinRegistro(QStringLiteral(
            "SELECT Pg_Valor FROM Parametros_Generales WHERE Pg_Cve_Parametro = 'RM640_PLANTILLA_SIN_ESCAPAR'"));
        const QString v = rs.Eof() || rs.Fields(0).EsNulo() ? QString() : rs.Fields(0).Texto().trimmed().toUpper();
        for (const char* si : {"1", "S", "SI", "SÍ", "TRUE"})
            if (v == QString::fromUtf8(si))
                return rm640::MarcadoresHtml::Modo::Empalmar;
    } catch (const std::exception&) {
    }
    return rm640::MarcadoresHtml::Modo::Escapar;
}

QString TextoObligatorio(const Recordset& rs, const QString& columna, const QString& formato)
{
    const Campo c = rs.Fields(columna);
    if (c.EsNulo() || c.Texto().trimmed().isEmpty())
        throw ErrorRm(QStringLiteral("El formato de impresión '%1' no tiene %2.").arg(formato, columna));
    return c.Texto();
}

} // namespace

ImpresorOrvinda::ImpresorOrvinda(Conexion& conexion, Mensajero* mensajero, Traza* traza, QString carpeta)
    : m_conexion(conexion)
    , m_mensajero(mensajero)
    , m_traza(traza)
    , m_carpeta(std::move(carpeta))
{
}

QString ImpresorOrvinda::Carpeta() const
{
    if (!m_carpeta.isEmpty())
        return m_carpeta;
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documentos.isEmpty() ? QDir::homePath() : documentos;
}

QString ImpresorOrvinda::RutaDocumento(const QString& formato, const QString& folio) const
{
    static const QRegularExpression ajeno(QStringLiteral("[^A-Za-z0-9._-]"));
    QString nombre = formato + u'_' + folio;
    nombre.replace(ajeno, QStringLiteral("_"));
    return QDir(Carpeta()).filePath(nombre + QStringLiteral(".pdf"));
}

QString ImpresorOrvinda::Componer(const QString& formato, const QString& folio)
{
    Recordset rs = m_conexion.Execute(
        QStringLiteral("SELECT Fi_Descripcion, Fi_Sql, Fi_Plantilla FROM Formatos_Impresion WHERE Fi_Cve_Formato = %1")
            .arg(TextoSql::Literal(formato)));
    if (rs.Eof())
        throw ErrorRm(QStringLiteral("No existe el formato de impresión '%1'.").arg(formato));
    const Campo descripcion = rs.Fields(QStringLiteral("Fi_Descripcion"));
    const QString titulo = descripcion.EsNulo() ? formato : descripcion.Texto();
    QString consulta = TextoObligatorio(rs, QStringLiteral("Fi_Sql"), formato);
    QString plantilla = TextoObligatorio(rs, QStringLiteral("Fi_Plantilla"), formato);

    // The stored query quotes {FOLIO} itself; the folio's own quotes are doubled.
    QString folioSql = folio;
    folioSql.replace(u'\'', QStringLiteral("''"));
    consulta.replace(QStringLiteral("{FOLIO}"), folioSql);
    Recordset datos = m_conexion.Execute(consulta);
    if (datos.Eof())
        throw ErrorRm(QStringLiteral("El formato de impresión '%1' no encontró el documento %2.").arg(formato, folio));
    // Values escaped by where they stand, as in the review page; unlike the
    // review page, which refuses a NULL, a print leaves it blank: the
    // document has already been decided.
    QList<rm640::ColumnaPlantilla> fila;
    for (int i = 0; i < datos.FieldsCount(); ++i) {
        const Campo c = datos.Fields(i);
        fila.append({c.Name(), c.EsNulo() ? QString() : c.Texto()});
    }
    plantilla = rm640::MarcadoresHtml::ExpandirPlantilla(plantilla, fila, ModoPlantilla(m_conexion));

    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n%5"
                          "<title>%1 %2</title>\n<style>%3</style>\n</head>\n<body>\n%4\n</body>\n</html>\n")
        .arg(titulo.toHtmlEscaped(), folio.toHtmlEscaped(), ServidorPaginas::HojaEstilo(), plantilla,
             PaginaSegura::MetaPolitica());
}

void ImpresorOrvinda::Imprimir(const QString& formato, const QString& folio, const QString&, int, int, const QString&)
{
    const QString html = Componer(formato, folio);
    const QString ruta = RutaDocumento(formato, folio);
    // The browser answers through the event loop: the document is written
    // while the window goes on, and its end is told to whoever asked.
    TrabajoPdf::Iniciar(
        html, ruta,
        [formato, folio, alTerminar = m_alTerminar, mensajero = m_mensajero, traza = m_traza](const QString& archivo,
                                                                                              const QString& error) {
            if (traza && error.isEmpty())
                traza->Nota(QStringLiteral("Imprimir formato=%1 folio=%2 archivo=%3").arg(formato, folio, archivo));
            // Whoever asked to hear the end tells it in its own way (the
            // inbox in its status area): no box stops the reviewer.
            if (mensajero && error.isEmpty() && !alTerminar)
                mensajero->Mostrar(
                    QStringLiteral("El documento %1 se guardó en:\n%2").arg(folio, QDir::toNativeSeparators(archivo)),
                    64, QStringLiteral("Imprimir"), QApplication::activeWindow(), QStringLiteral("ORVINDA"),
                    QStringLiteral("ERR-ID:9900020"));
            else if (mensajero && !alTerminar)
                mensajero->Mostrar(QStringLiteral("No se pudo imprimir el documento %1: %2").arg(folio, error), 16,
                                   QStringLiteral("Imprimir"), QApplication::activeWindow(), QStringLiteral("ORVINDA"),
                                   QStringLiteral("ERR-ID:9900021"));
            if (alTerminar)
                alTerminar(archivo, error);
        });
}

} // namespace orvinda
