#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace orvinda {

// The demo's catalogs and texts, read from the resource folder demo/:
// tab-separated tables with a header line. Statements and templates lie
// there too, as .sql and .html files stored exactly as the database
// receives them (the file's own last line break aside), but for the money
// and date functions of FormatoDemo::ConsultaEnDialecto.
class CatalogoDemo
{
public:
    // Money in centavos, so that subtotal + IVA adds up exactly.
    using Centavos = qint64;

    // Letters of `categorias` pick the articles a department asks for or a
    // supplier sells: P stationery, C computing, L cleaning, M maintenance,
    // S safety equipment, R production supplies, O office furniture.
    struct Departamento
    {
        QString clave, nombre, centroCosto, categorias;
    };
    // papel: C for the buyers who sign the orders, V for those who travel.
    struct Empleado
    {
        QString clave, nombre, puesto, departamento, ingreso, papel;
        QString operador; // the employee's own key in Operadores, when they have one
    };
    struct Proveedor
    {
        QString clave, rfc, razon, domicilio;
        int diasCredito;
        QString categorias;
    };
    struct Articulo
    {
        QString clave, descripcion, unidad;
        Centavos precio;
        QChar categoria;
    };
    struct ConceptoGasto
    {
        QString concepto;
        Centavos minimo, maximo;
        bool conIva;
        QStringList proveedores;
    };

    // Throws std::runtime_error when a resource is missing.
    CatalogoDemo();
    CatalogoDemo(const CatalogoDemo&) = delete;
    CatalogoDemo& operator=(const CatalogoDemo&) = delete;

    // A resource file as text.
    static QString Recurso(const QString& ruta);
    // The rows of a table, header left out. An empty field is an empty
    // text, never a null one, so that it is stored as '' and not as NULL.
    static std::vector<QStringList> Tabla(const QString& ruta);
    // The INSERT, with ? for each value, that fills a table.
    QString Insercion(const QString& tabla) const;

    std::map<QString, QString> inserciones;
    std::vector<Departamento> departamentos;
    std::vector<Empleado> empleados;
    std::vector<const Empleado*> compradores, viajeros;
    std::vector<Proveedor> proveedores;
    std::vector<Articulo> articulos;
    std::vector<ConceptoGasto> conceptosGasto;
    QStringList justificaciones, lugaresEntrega, destinos, motivos, observacionesVacaciones, rechazosRequisicion,
        rechazosOrden, rechazosGastos, rechazosVacaciones, comentariosAutorizacion;
};

} // namespace orvinda
