#include "servidor/EntornoServidor.h"

#include "publico/Publico.h"
#include "servicios/ServidorPaginas.h"
#include "shell/CreacionDemo.h"

#include <cstdio>
#include <cstdlib>

ServidorPostgres* EntornoServidor::servidor = nullptr;

void EntornoServidor::SetUpTestSuite()
{
    servidor = new ServidorPostgres();
    if (!servidor->Activo()) {
        // The whole executable is about the server: ctest reports it as skipped.
        std::printf("Pruebas de servidor omitidas: %s\n", qPrintable(servidor->Motivo()));
        std::fflush(stdout);
        std::exit(CodigoOmitidas);
    }
}

void EntornoServidor::TearDownTestSuite()
{
    delete servidor;
    servidor = nullptr;
}

void EntornoServidor::SetUp()
{
    static int contador = 0;
    const QString nombre = QStringLiteral("orvinda_%1").arg(++contador);
    ASSERT_TRUE(servidor->CrearBaseDatos(nombre));
    cadena = servidor->CadenaOdbc(nombre);
    EntornoPrueba::SetUp();
    orvinda::CreacionDemo::Llenar(*conexion);
    orvinda::ServidorPaginas::Instalar();
    g.parametros["GEN_URL"] = "orvinda://web";
    g.parametros["CAT_AUTOCLAVE"] = true;
    g.parametros["FTO_CONFIGURACION_AUTORIZACION"] = "0000";
    rm640::Publico::Main();
    folio = Valor("SELECT MIN(Rq_Folio) FROM Requisiciones_Compra WHERE Rq_Estado = 'PE'");
}

QString EntornoServidor::DestinoBaseDatos()
{
    return cadena;
}
