#include "comun/EntornoPrueba.h"
#include "config/ConfiguracionAutorizacion.h"

using rm640::ConfiguracionAutorizacion;

using PruebaConfiguracion = EntornoPrueba;

// Reading every column back with quotes of both kinds is seen through the
// editor's insert, load and update; here the literals and the state rule.
TEST_F(PruebaConfiguracion, LiteralesYEstado)
{
    EXPECT_EQ(ConfiguracionAutorizacion::LiteralDoble(QStringLiteral("a\"b'c")), QStringLiteral("\"a\"\"b'c\""));
    EXPECT_EQ(ConfiguracionAutorizacion::LiteralSimple(QStringLiteral("a\"b'c")), QStringLiteral("'a\"b''c'"));
    EXPECT_FALSE(ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("9999")).has_value());
    ASSERT_TRUE(Configuracion("B", {{"Es_Cve_Estado", "BA"}}) && Configuracion("N", {{"Es_Cve_Estado", QVariant()}})
                && Configuracion("b", {{"Es_Cve_Estado", "ba"}}));
    using E = ConfiguracionAutorizacion::Estado;
    EXPECT_EQ(ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("B"))->EstadoLogico(), E::Baja);
    EXPECT_EQ(ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("N"))->EstadoLogico(), E::Baja);
    EXPECT_EQ(ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("b"))->EstadoLogico(), E::Activa);
}
