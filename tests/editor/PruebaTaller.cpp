#include "editor/EntornoEditor.h"

using namespace pruebas_editor;

// Probar runs both statements of every demo configuration on a pending
// document as the review road would, and every table stays as it was.
TEST_F(PruebaEditor, ProbarCadaDemoNoEscribeYMuestraElErrorDeLaBase)
{
    CargarDemo();
    orvinda::ServidorPaginas::Instalar();
    g.parametros["GEN_URL"] = "orvinda://web";
    const QStringList antes = TodoElContenido();
    for (const QString clave : {"0001", "0002", "0003", "0004"}) {
        const auto [autorizacion, rechazo] = EnsayarDemo(clave);
        EXPECT_EQ(autorizacion.error + rechazo.error, "") << clave.toStdString();
        EXPECT_TRUE(autorizacion.filas == 1 && rechazo.filas == 1 && autorizacion.sentencia.contains("'Probado'") && autorizacion.comentario == "Probado");
        EXPECT_EQ(autorizacion.formato,
                  Valor("SELECT Ca_Formato_Impresion FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '" + clave + "'"));
    }
    EXPECT_EQ(TodoElContenido(), antes);
    EXPECT_TRUE(g.LlamadasA("GuardarComentario").isEmpty() && g.mensajes.isEmpty());

    frmConfiguracion& f = frmConfiguracion::Instancia();
    f.txtProcedimiento5().setText("UPDATE NoExiste SET x = 1 WHERE f = '{FOLIO}'");
    rm640::frmEnsayo roto(f.ConfiguracionEnPantalla(), &f);
    // Opened on its first folio, ready to rehearse.
    ASSERT_TRUE(roto.Informe().startsWith("Documento " + roto.Folios().value(0) + ".")) << roto.Informe().toStdString();
    EXPECT_TRUE(roto.EnsayarRechazo().error.contains("no such table: NoExiste"));
    EXPECT_TRUE(roto.Informe().contains("UPDATE NoExiste SET x = 1 WHERE f = '" + roto.Folios().value(0) + "'")) << roto.Informe().toStdString();
}

// One row per check: a change to the first demo configuration that trips
// it. The configuration as shipped only has its markup column listed, and
// checking writes nothing.
TEST_F(PruebaEditor, VerificarNombraCadaErrorYSuElemento)
{
    CargarDemo();
    using C = rm640::ConfiguracionAutorizacion;
    const C demo = *C::Leer(*conexion, "0001");
    const QStringList antes = TodoElContenido();
    const QString marcado = "HTML plantilla: la columna DETALLE_HTML se inserta como marcado HTML, no como texto: lo que contenga forma parte de la página. Si "
                            "es texto, quite _HTML del nombre de la columna.";
    EXPECT_EQ(rm640::Verificacion::Texto(rm640::Verificacion::Completa(demo)), marcado);
    struct Caso
    {
        QString C::*texto;
        QString de, a;
        const char* aviso;
    };
    const Caso casos[] = {
        {&C::sql, "SELECT", "SELEC", "SQL selección de datos: la base de datos no la acepta"},
        {&C::sql, "", "DELETE FROM Empleados WHERE 1 = 0", "SQL selección de datos: La consulta del listado no devuelve ninguna columna"},
        {&C::sqlAutorizacion, "UPDATE", "UPDAT", "SQL autorización: la base de datos no la acepta"},
        {&C::plantilla, "Folio {FOLIO}", "Folio {FOLIO} {NO_HAY}", "HTML plantilla: {NO_HAY} no lo llena ninguna columna"},
        {&C::camposAutorizar, ",CUENTA", ", CUENTA", "Campos a recuperar: ' CUENTA_PRESUPUESTAL' tiene espacios"},
        {&C::camposAutorizar, "CUENTA_PRESUPUESTAL", "cuenta_presupuestal", "'cuenta_presupuestal' no está en mayúsculas"},
        {&C::camposAutorizar, "CUENTA_PRESUPUESTAL", "CUENTA_PRESUPUESTA", "'CUENTA_PRESUPUESTA' no es una columna"},
        {&C::camposAutorizar, "*MONTO_AUTORIZADO", "*MONTO_AUTORIZADO,*PRIORIDAD", "HTML plantilla: el campo obligatorio 'PRIORIDAD' no tiene ningún elemento"},
        {&C::plantilla, "<div class=\"revision\">", "<div class=\"revision\"><input name=\"MONTO_AUTORIZADO\">", "'MONTO_AUTORIZADO' tiene 2 elementos"},
        {&C::sqlRechazar, "'{FOLIO}'", "Rq_Folio", "SQL rechazar: no menciona {FOLIO}"},
        {&C::sqlAutorizacion, "'{FOLIO}'", "Rq_Folio /* '{FOLIO}' */", "SQL autorización: menciona {FOLIO} solo en comentarios"},
        {&C::sqlRechazar, "'{OPERADOR}'", "'{OPERADOR}{CUENTA_PRESUPUESTAL}'", "SQL rechazar: {CUENTA_PRESUPUESTAL} nunca se sustituye"},
        {&C::sqlAutorizacion, "'{FECHA}'", "{FECHA}", "SQL autorización: El valor del campo 'FECHA' no se puede usar"},
        {&C::sqlAutorizacion, "'PE'", "'PE'; COMMIT", "SQL autorización: contiene la orden de transacción COMMIT y así no se ejecuta; quítela"},
        {&C::sql, "", "SELECT 1; rollback", "SQL selección de datos: contiene la orden de transacción ROLLBACK"},
        {&C::plantilla, "<td>{FECHA_DOCUMENTO}</td>", "<td title={FECHA_DOCUMENTO}></td>",
         "HTML plantilla: El valor del campo 'FECHA_DOCUMENTO' no se puede usar en la plantilla"},
    };
    for (const Caso& c : casos) {
        C mala = demo;
        QString& texto = mala.*c.texto;
        texto = c.de.isEmpty() ? c.a : QString(texto).replace(c.de, c.a);
        const QString avisos = rm640::Verificacion::Texto(rm640::Verificacion::Completa(mala));
        EXPECT_TRUE(avisos.contains(QString::fromUtf8(c.aviso))) << c.aviso << "\n" << avisos.toStdString();
    }
    EXPECT_EQ(TodoElContenido(), antes);

    // In the editor: the command's message; while editing, the texts' checks
    // warn as the author types, and the save, asked about its error, goes
    // ahead when told to.
    frmConfiguracion& f = Editor();
    Cargar(f, "0001");
    f.Verificar();
    EsperarMensaje("ERR-ID:7500093", marcado, 48, "Verificar");
    Pulsar(f, "cmdModificar");
    f.txtCampos1().setTexto("*MONTO_AUTORIZADO, CUENTA_PRESUPUESTAL");
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.lblAvisos().accessibleName().contains("' CUENTA_PRESUPUESTAL' tiene espacios"); }));
    Pulsar(f, "cmdGuardar");
    EXPECT_TRUE(f.Guardado && g.preguntas.size() == 1 && g.preguntas[0].mensaje.startsWith("La configuración tiene 1 error:\nCampos a recuperar: "));
}

// At the smallest size every toolbar command is in sight; the statement
// boxes grow both ways; a shown record's box is read-only yet selectable.
TEST_F(PruebaEditor, TamanioMinimoCajasQueCrecenYLecturaSeleccionable)
{
    Fila("0001", "BA");
    frmConfiguracion& f = Editor();
    f.show();
    Cargar(f, "0001");
    EXPECT_TRUE(f.lblEstado().text().contains("ELIMINADA") && f.txtProcedimiento2().isReadOnly() && f.txtProcedimiento2().QWidget::isEnabled());
    const QSize diseno = f.txtProcedimiento2().size();
    f.resize(1, 1);
    for (const char* comando : {"", "cmdExtra"}) {
        if (*comando)
            Pulsar(f, comando);
        QTest::qWait(20);
        for (QToolButton* b : f.Controles().findChildren<QToolButton*>())
            EXPECT_TRUE(!b->isVisible() || f.rect().contains(QRect(b->mapTo(&f, QPoint()), b->size()))) << b->objectName().toStdString();
    }
    EXPECT_EQ(f.txtProcedimiento2().viewport()->palette().color(QPalette::Base), QColor(255, 255, 255));
    f.resize(1400, 900);
    EXPECT_TRUE(f.txtProcedimiento2().width() > diseno.width() && f.txtProcedimiento2().height() > diseno.height());
}
