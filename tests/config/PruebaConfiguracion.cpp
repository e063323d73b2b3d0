#include "comun/EntornoPrueba.h"
#include "config/ConfiguracionAutorizacion.h"

using rm640::ConfiguracionAutorizacion;

using PruebaConfiguracion = EntornoPrueba;

// Reading every column back with quotes of both kinds is seen through the
// editor's insert, load and update; here the literals and the state rule.
TEST_F(PruebaConfiguracion, LiteralesYEstado)
{
    EXPECT_EQ(ConfiguracionAutorizacion::LiteralDoble("a\"b'c"), "\"a\"\"b'c\"");
    EXPECT_EQ(ConfiguracionAutorizacion::LiteralSimple("a\"b'c"), "'a\"b''c'");
    EXPECT_FALSE(ConfiguracionAutorizacion::Leer(*conexion, "9999").has_value());
    ASSERT_TRUE(Configuracion("B", {{"Es_Cve_Estado", "BA"}}) && Configuracion("N", {{"Es_Cve_Estado", QVariant()}})
                && Configuracion("b", {{"Es_Cve_Estado", "ba"}}));
    using E = ConfiguracionAutorizacion::Estado;
    EXPECT_EQ(ConfiguracionAutorizacion::Leer(*conexion, "B")->EstadoLogico(), E::Baja);
    EXPECT_EQ(ConfiguracionAutorizacion::Leer(*conexion, "N")->EstadoLogico(), E::Baja);
    EXPECT_EQ(ConfiguracionAutorizacion::Leer(*conexion, "b")->EstadoLogico(), E::Activa);
}
