#pragma once

#include <QDate>

class QSqlDatabase;

namespace orvinda {

// Demo content of the shell database: four authorization configurations
// ('0001' purchase requisitions, '0002' purchase orders, '0003' expense
// reports, '0004' vacation requests, the last one logically deleted), the
// documents they list, the catalogs those documents refer to, the general
// parameters, the operators and one print format.
class DatosDemo
{
public:
    // Creates the missing tables (EsquemaBaseDatos::Crear) and fills them in
    // one transaction. The content is the same on every run: the random
    // choices use a fixed seed and every date counts back from FechaBase().
    // Meant for an empty database: a key that already exists makes it fail.
    // On failure the transaction is rolled back, leaving the rows as they
    // were, and std::runtime_error is thrown with the driver's text.
    static void Cargar(QSqlDatabase& db);

    // True when Configuracion_Autorizacion exists and holds any row, that is
    // when the database was already filled (by the demo or by hand).
    static bool Existe(QSqlDatabase& db);

    // The demo's "today": the newest document is dated on this day.
    static QDate FechaBase();
};

} // namespace orvinda
