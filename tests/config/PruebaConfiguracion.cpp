#include "comun/EntornoPrueba.h"
#include "config/ConfiguracionAutorizacion.h"
#include "host/datos/ErrorRm.h"

using rm640::ConfiguracionAutorizacion;

using PruebaConfiguracion = EntornoPrueba;

TEST_F(PruebaConfiguracion, LosTextosSeGuardanYLeenTalCualConCualquierComilla)
{
    const QString sql = QStringLiteral("SELECT Folio FROM Docs where Es_Cve_Estado <> 'BA' and Nota <> \"x\"");
    const QString html = QStringLiteral("<p class=\"nota\">Revisión de l'área</p>");
    // The editor's layout: the four SQL texts double-quoted inside the bracket,
    // everything else single-quoted.
    conexion->Execute(QStringLiteral("SET QUOTED_IDENTIFIER OFF"));
    conexion->Execute(QStringLiteral("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion, Ca_Descripcion, Ca_Sql, Ca_Plantilla_Autorizacion, Fecha_Alta) VALUES (")
                      + ConfiguracionAutorizacion::LiteralSimple(QStringLiteral("0001")) + QStringLiteral(", ")
                      + ConfiguracionAutorizacion::LiteralSimple(QStringLiteral("Compras d'oficina")) + QStringLiteral(", ")
                      + ConfiguracionAutorizacion::LiteralDoble(sql) + QStringLiteral(", ")
                      + ConfiguracionAutorizacion::LiteralSimple(html) + QStringLiteral(", '2026-12-06T10:30:00')"));
    conexion->Execute(QStringLiteral("SET QUOTED_IDENTIFIER ON"));

    const auto c = ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("0001"));
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->descripcion, QStringLiteral("Compras d'oficina"));
    EXPECT_EQ(c->sql, sql);
    EXPECT_EQ(c->plantilla, html);
    EXPECT_EQ(c->fechaAlta, QStringLiteral("2026-12-06T10:30:00"));
    EXPECT_FALSE(c->fechaBaja.has_value());
    // The table's default state, since the insert does not name it.
    EXPECT_EQ(c->estado, QStringLiteral("AC"));
    EXPECT_EQ(c->EstadoLogico(), ConfiguracionAutorizacion::Estado::Activa);

    EXPECT_FALSE(ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("9999")).has_value());
    EXPECT_EQ(ConfiguracionAutorizacion::LiteralDoble(QStringLiteral("a\"b'c")), QStringLiteral("\"a\"\"b'c\""));
    EXPECT_EQ(ConfiguracionAutorizacion::LiteralSimple(QStringLiteral("a\"b'c")), QStringLiteral("'a\"b''c'"));
}

TEST_F(PruebaConfiguracion, SoloUnEstadoDistintoDeBaEsActivo)
{
    ASSERT_TRUE(Configuracion("B", {{"Es_Cve_Estado", "BA"}}) && Configuracion("N", {{"Es_Cve_Estado", QVariant()}})
                && Configuracion("b", {{"Es_Cve_Estado", "ba"}}));
    using E = ConfiguracionAutorizacion::Estado;
    EXPECT_EQ(ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("B"))->EstadoLogico(), E::Baja);
    EXPECT_EQ(ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("N"))->EstadoLogico(), E::Baja);
    EXPECT_EQ(ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("b"))->EstadoLogico(), E::Activa);

    // The key is unique, whatever the state of the row that holds it.
    EXPECT_THROW(conexion->Execute(QStringLiteral("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion) VALUES ('B')")),
                 orvinda::ErrorRm);
}
