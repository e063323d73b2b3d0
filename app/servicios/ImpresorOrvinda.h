#pragma once

#include "host/servicios/Impresor.h"

#include <QString>

namespace orvinda {

class Conexion;
class Mensajero;
class Traza;

// Prints a document in one of the shell's print formats (Formatos_Impresion:
// an HTML template and a query with {FOLIO}) to a PDF file in the user's
// documents folder, and tells the user where the file is, unless whoever
// asked hears the end (setAlTerminar) and tells it.
class ImpresorOrvinda : public Impresor
{
public:
    // carpeta: where the PDF files go; empty text is the documents folder.
    // mensajero and traza may be null.
    ImpresorOrvinda(Conexion& conexion, Mensajero* mensajero, Traza* traza, QString carpeta = QString());

    // The format key and the folio are used; the other arguments are not.
    // Throws ErrorRm when the format, the document or the file fails.
    void Imprimir(const QString& formato, const QString& folio, const QString& extra1, int opcion1, int opcion2,
                  const QString& extra2) override;

    // The whole HTML page of the document in that format.
    QString Componer(const QString& formato, const QString& folio);
    QString RutaDocumento(const QString& formato, const QString& folio) const;
    QString Carpeta() const;

private:
    Conexion& m_conexion;
    Mensajero* m_mensajero;
    Traza* m_traza;
    QString m_carpeta;
};

} // namespace orvinda
