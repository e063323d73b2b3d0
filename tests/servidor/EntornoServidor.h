#pragma once

#include "comun/EntornoPrueba.h"
#include "comun/ServidorPostgres.h"

// The component's fixture on a PostgreSQL server reached through ODBC: one
// server for the whole suite, a fresh database for every test, filled as
// --crear-demo fills it, the component started.
class EntornoServidor : public EntornoPrueba
{
public:
    // Exit code of the executable when no server can be started here.
    static constexpr int CodigoOmitidas = 77;

    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;
    QString DestinoBaseDatos() override;

    static ServidorPostgres* servidor;
    QString cadena;
    QString folio; // the first pending requisition
};
