#include "review/EntornoRevision.h"

TEST_P(PruebaRevision, DobleClicAbreElDocumentoEscapeNoRecargaYAutorizarEscribeEnUnaTransaccion)
{
    CrearDocumentos();
    Iniciar();
    frmRM640& forma = AbrirBandeja();
    orvinda::ListView& lista = forma.lvInsidencias(0);
    lista.setSelectedIndex(1);
    orvinda::ServidorPaginas* servidor = orvinda::ServidorPaginas::Instalar();
    const int servidas = servidor->PaginasServidas();

    QStringList visto;
    AlAbrirseDialogo([&](frmAutorizacion& d) {
        visto = QStringList{d.Plantilla(), d.Tabla(), d.Folio(), d.Campos(), d.Clave(), d.Pagina(), d.WebBrowser1().HtmlCuerpo()};
        EXPECT_EQ(d.parentWidget(), &forma);
        d.setProcesado(true);
        // Escape typed into the page reaches the dialog.
        QTest::keyClick(d.WebBrowser1().focusProxy(), Qt::Key_Escape);
        EXPECT_TRUE(!d.isVisible() && !d.Procesado());
    });
    const QRect celda = lista.visualRect(lista.model()->index(1, 0));
    QTest::mouseDClick(lista.viewport(), Qt::LeftButton, {}, celda.center());

    const QString html = QStringLiteral("<div id=\"prueba\"><h1>Folio D-2</h1><p>Aceros Apodaca</p><input id=\"MONTO\" value=\"250.50\">"
                                        "<input name=\"CUENTA\" value=\"\"><textarea id=\"COMENTARIO_DOCUMENTO\"></textarea></div>");
    EXPECT_EQ(visto, (QStringList{html, "DOCUMENTOS", "D-2", "*MONTO,CUENTA,COMENTARIO_DOCUMENTO", Clave, "orvinda://web/EditorWeb/Pagina.Html", html}));
    // One activation, one page load: a second one would lose what was typed.
    EXPECT_EQ(servidor->PaginasServidas(), servidas + 1);
    const QString buscar = "BuscarValor(Configuracion_Autorizacion,Ca_Cve_Configuracion_Autorizacion,0100,%1,0,,,)";
    const QString select = "SQL SELECT %1 FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0100'";
    EXPECT_EQ(g.llamadas,
              (QStringList{buscar.arg("Ca_Tabla"), select.arg("Ca_Tabla"), buscar.arg("Ca_Campos_Autorizar"), select.arg("Ca_Campos_Autorizar"),
                           buscar.arg("Ca_Sql"), select.arg("Ca_Sql"), "ObtenerConexion()", "SQL " + SelectPlantilla, "ObtenerConexion()",
                           "SQL SELECT Folio AS FOLIO, Monto AS MONTO, Proveedor AS PROVEEDOR, '' AS CUENTA, '' AS COMENTARIO_DOCUMENTO"
                           " FROM Documentos WHERE Folio = 'D-2'",
                           "LeerParametro(GEN_URL,1,,)"}));
    EXPECT_TRUE(lista.ListItemsCount() == 3 && !frmAutorizacion::ExisteInstancia() && g.mensajes.isEmpty());

    // Authorizing writes in one transaction and fills again only its own list.
    forma.lvInsidencias(0).setSelectedIndex(2);
    forma.lvInsidencias(1).setSelectedIndex(0);
    // The second tab's list was loaded by the refresh; its double click is wired too.
    QString otro;
    AlAbrirseDialogo([&](frmAutorizacion& d) { otro = d.Clave() + d.Folio(); });
    emit forma.lvInsidencias(1).DblClick();
    EXPECT_EQ(otro, "0200X-1");
    g.llamadas.clear();

    AlAbrirseDialogo([](frmAutorizacion& d) {
        Escribir(d, "MONTO", "70.00");
        Escribir(d, "CUENTA", "PRE-140");
        Escribir(d, "COMENTARIO_DOCUMENTO", "Con ajuste");
        d.CmdAutorizado().click();
        EXPECT_FALSE(d.isVisible());
    });
    emit forma.lvInsidencias(0).DblClick();

    EXPECT_TRUE(g.mensajes.isEmpty());
    EXPECT_EQ(Documentos()[2], "D-3|AU|70.00|Limpieza|PRE-140|Con ajuste|PRUEBA|2026-12-06T10:30:00");
    const qsizetype i = g.llamadas.indexOf("SQL BeginTrans");
    ASSERT_GE(i, 4);
    // Operator and date first; the comment inside the transaction, before
    // the statement; the decision's row in the log after it.
    EXPECT_EQ(g.llamadas.mid(i - 4, 21),
              (QStringList{"ObtenerOperador()", "FechaServidor()", "FormatearFecha(2026-12-06T10:30:00)", "ObtenerConexion()", "SQL BeginTrans",
                           "ObtenerConexion()", "SQL " + SelectAutorizacion, "ObtenerConexion()",
                           "SQL SELECT Folio AS FOLIO, Monto AS MONTO, Proveedor AS PROVEEDOR, '' AS CUENTA, '' AS COMENTARIO_DOCUMENTO"
                           " FROM Documentos WHERE Folio = 'D-3'",
                           "GuardarComentario(DOCUMENTOS,D-3,Con ajuste)", "ObtenerConexion()",
                           "SQL UPDATE Documentos SET Estado = 'AU', Monto = '70.00', Cuenta = 'PRE-140', Nota = 'Con ajuste',"
                           " Oper = 'PRUEBA', Fecha = '2026-12-06T10:30:00' WHERE Folio = 'D-3'"}
               + AnotarDecision
               + QStringList{"ObtenerConexion()", "SQL CommitTrans", BuscarFormato,
                             "SQL SELECT Ca_Formato_Impresion FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0100'",
                             "LlenarLista(" + ListaDocumentos + ",true)"}));
    // No print format, no printer; only the first list was filled again.
    EXPECT_EQ(EsperarLista(forma.lvInsidencias(0)), "");
    EXPECT_EQ(vivos + impresiones.size(), 0);
    EXPECT_EQ(g.LlamadasA("LlenarLista").size(), 1);
    EXPECT_TRUE(forma.lvInsidencias(0).ListItemsCount() == 2 && forma.lvInsidencias(1).ListItemsCount() == 2 && !frmAutorizacion::ExisteInstancia());
}

TEST_P(PruebaRevision, CampoObligatorioVacioNoEscribeYLuegoAutoriza)
{
    CrearDocumentos("FMT_DOC");
    Iniciar();
    const QStringList antes = Documentos();
    frmAutorizacion& d = MostrarDialogo("D-1");
    Escribir(d, "MONTO", QString());
    Escribir(d, "COMENTARIO_DOCUMENTO", "Nota");

    d.CmdAutorizado_Click();
    EXPECT_EQ(g.Avisos(), QStringList{"ERR-ID:7500027|64|Orvinda|frmAutorizacion|El campo 'MONTO' es obligatorio no puede estar vacío"});
    // The keyboard lands on the missing field, marked; Enter typed there presses nothing.
    EXPECT_EQ(d.WebBrowser1().EjecutarSincrono("document.activeElement.id + '|' + document.activeElement.getAttribute('aria-invalid')").toString(),
              "MONTO|true");
    QTest::keyClick(d.WebBrowser1().focusProxy(), Qt::Key_Return);
    EXPECT_FALSE(QTest::qWaitFor([&, n = g.llamadas.size()] { return g.llamadas.size() != n || !d.isVisible(); }, 300));
    EXPECT_EQ(Documentos(), antes);
    // Reported, then rolled back; the reading stopped at the required field.
    EXPECT_EQ(g.llamadas.mid(g.llamadas.size() - 3), (QStringList{"MostrarMensaje(ERR-ID:7500027)", "ObtenerConexion()", "SQL RollbackTrans"}));
    EXPECT_TRUE(g.LlamadasA("GuardarComentario").isEmpty() && d.isVisible() && !d.Procesado() && !conexion->EnTransaccion());

    g.llamadas.clear();
    Escribir(d, "MONTO", "99.90");
    // Enter on the focused button presses it; the mark is gone before the run.
    d.CmdAutorizado().setFocus();
    QTest::keyClick(&d.CmdAutorizado(), Qt::Key_Return);
    EXPECT_TRUE(g.mensajes.size() == 1 && d.Procesado() && !d.isVisible());
    EXPECT_EQ(d.WebBrowser1().EjecutarSincrono("document.querySelectorAll('[aria-invalid]').length").toInt(), 0);
    EXPECT_EQ(Documentos()[0], "D-1|AU|99.90|Papelera||Nota|PRUEBA|2026-12-06T10:30:00");
    // The decision, then the row of its printing in a transaction of its own.
    EXPECT_EQ(Sentencias().filter("Trans"), (QStringList{"BeginTrans", "CommitTrans", "BeginTrans", "CommitTrans"}));
    // Printed after the commit; a printer failure does not undo it.
    EXPECT_EQ(impresiones, QStringList{"FMT_DOC|D-1||0|0|"});
    EXPECT_LT(g.llamadas.indexOf("SQL CommitTrans"), g.llamadas.indexOf(BuscarFormato));
    frmAutorizacion::Unload();
    fallaImpresion = "La impresora no responde";
    frmAutorizacion& d2 = MostrarDialogo("D-2");
    d2.CmdAutorizado_Click();
    EXPECT_EQ(g.Avisos().mid(1), QStringList{"ERR-ID:7500051|16|CmdAutorizado_Click()|frmAutorizacion|La impresora no responde"});
    EXPECT_TRUE(Valor("SELECT Estado FROM Documentos WHERE Folio = 'D-2'") == "AU" && d2.Procesado() && !d2.isVisible() && vivos == 0);
}

TEST_P(PruebaRevision, FallosTrasElBeginTransDeshacenYAvisan)
{
    CrearDocumentos();
    const QString mala = "UPDATE Documentos SET Estado = 'AU' WHER Folio = 'D-2'";
    const QString descripcion = Estropear("Ca_Sql_Autoriazion", mala, "D-2");
    Iniciar();
    const QStringList antes = Documentos();
    frmAutorizacion& d = MostrarDialogo("D-2");
    // The database refuses the statement after the comment was handed over.
    Escribir(d, "COMENTARIO_DOCUMENTO", "Revisar");
    d.CmdAutorizado_Click();
    EXPECT_EQ(g.llamadas.mid(g.llamadas.indexOf("GuardarComentario(DOCUMENTOS,D-2,Revisar)"), 6),
              (QStringList{"GuardarComentario(DOCUMENTOS,D-2,Revisar)", "ObtenerConexion()", "SQL " + mala, "ObtenerConexion()", "SQL RollbackTrans",
                           "MostrarMensaje(ERR-ID:7500028)"}));
    // The comment hook fails; then a field has two elements, then none.
    Configurar("Ca_Sql_Autoriazion", Autorizacion);
    g.alGuardarComentario = [](QString&) { throw ErrorRm("Comentarios fuera de línea"); };
    d.CmdAutorizado_Click();
    g.alGuardarComentario = nullptr;
    d.WebBrowser1().ReemplazarCuerpo(QString(Pagina).replace("<textarea", "<input id=\"CUENTA\"><textarea"));
    d.CmdAutorizado_Click();
    d.WebBrowser1().ReemplazarCuerpo("<input id=\"MONTO\" value=\"1\">");
    d.CmdAutorizado_Click();
    const QString prefijo = "ERR-ID:7500028|16|Autorizar|frmAutorizacion|Verifique la configuración de la autorización\r\n";
    EXPECT_EQ(g.Avisos(),
              (QStringList{prefijo + descripcion, prefijo + "Comentarios fuera de línea", prefijo + "Hay 2 elementos 'CUENTA' en la página",
                           prefijo + "No existe el elemento 'CUENTA' en la página"}));
    EXPECT_TRUE(Sentencias().filter("CommitTrans").isEmpty() && Documentos() == antes);
    EXPECT_TRUE(d.isVisible() && !d.Procesado() && !conexion->EnTransaccion());

    // A configuration that is gone rolls back without a word.
    Ejecutar("DELETE FROM Configuracion_Autorizacion");
    g.llamadas.clear();
    d.CmdAutorizado_Click();
    EXPECT_EQ(Sentencias() << QString::number(g.mensajes.size()), (QStringList{"BeginTrans", SelectAutorizacion, "RollbackTrans", "4"}));

    // Alt+C typed into the page answers "Cancelar", as its tooltip says.
    EXPECT_EQ(d.cmdCancelar().toolTip(), "Cancelar (Alt+C)");
    d.setProcesado(true);
    QTest::keyClick(d.WebBrowser1().focusProxy(), Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !d.isVisible(); }, 5000) && !d.Procesado());

    // The close box hides and reports nothing done; the caller still reads it.
    d.show();
    d.setProcesado(true);
    d.close();
    EXPECT_TRUE(!d.isVisible() && !d.Procesado() && frmAutorizacion::ExisteInstancia());
}

TEST_P(PruebaRevision, OperadorNoDisponibleNoEmpiezaNada)
{
    CrearDocumentos();
    Grabacion* gr = &g;
    orvinda::Conexion* c = conexion.get();
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Sistema::IdPrograma), [=] { return std::make_unique<SistemaSinOperador>(*gr, *c); });
    Iniciar();
    frmAutorizacion& d = MostrarDialogo("D-1");
    d.CmdAutorizado_Click();
    frmRechazar& r = frmRechazar::Load(&d);
    r.txtComentario().setPlainText("No procede");
    r.cmdAceptar_Click();
    EXPECT_EQ(g.Avisos(),
              (QStringList{"ERR-ID:7500050|16|CmdAutorizado_Click()|frmAutorizacion|La sesión del operador expiró.",
                           "ERR-ID:7500008|16|cmdAceptar_Click()|frmRechazar|La sesión del operador expiró."}));
    EXPECT_TRUE(Sentencias().isEmpty() && d.isVisible() && !r.Procesado());
}

TEST_P(PruebaRevision, RechazoPideComentarioYLoEntregaConElRechazo)
{
    CrearDocumentos();
    Iniciar();
    frmAutorizacion& d = MostrarDialogo("D-3");
    orvinda::ServidorPaginas* servidor = orvinda::ServidorPaginas::Instalar();
    const int servidas = servidor->PaginasServidas();

    // First the operator leaves the comment dialog...
    QStringList recibido;
    AlAbrirse<frmRechazar>([&](frmRechazar& r) {
        recibido = QStringList{r.windowTitle(), r.Tabla(), r.Folio(), r.Clave()};
        r.cmdCancelar_Click();
    });
    d.CmdRechazar_Click();
    EXPECT_EQ(recibido, (QStringList{"Comentario — D-3", "DOCUMENTOS", "D-3", Clave}));
    // Back from the comment dialog: still open, and its page loaded again.
    EXPECT_TRUE(d.isVisible() && !d.Procesado() && !frmRechazar::ExisteInstancia());
    EXPECT_TRUE(QTest::qWaitFor([&] { return servidor->PaginasServidas() == servidas + 1; }, 10000));
    EXPECT_TRUE(EsperarDocumento(d) && Sentencias().isEmpty());

    // ...then refuses with an empty comment, then writes one.
    AlAbrirse<frmRechazar>([&](frmRechazar& r) {
        r.cmdAceptar().setFocus();
        r.cmdAceptar_Click();
        EXPECT_EQ(r.focusWidget(), &r.txtComentario());
        r.txtComentario().setPlainText("Proveedor no autorizado");
        // Alt+A from the comment box answers "Aceptar" and types nothing.
        QTest::keyClick(&r.txtComentario(), Qt::Key_A, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !r.isVisible(); }, 5000));
    });
    d.CmdRechazar().click();
    EXPECT_EQ(g.Avisos(), QStringList{"ERR-ID:7500006|64|Orvinda|frmRechazar|Se requiere un comentario"});
    EXPECT_EQ(
        Sentencias().mid(0, 3),
        (QStringList{"BeginTrans", SelectRechazo, "UPDATE Documentos SET Estado = 'RE', Oper = 'PRUEBA', Fecha = '2026-12-06T10:30:00' WHERE Folio = 'D-3'"}));
    // The comment, then the decision's row in the log, inside the rejection's transaction.
    const QString comentario = "GuardarComentario(DOCUMENTOS,D-3,Proveedor no autorizado)";
    EXPECT_EQ(g.llamadas.mid(g.llamadas.indexOf(comentario)), (QStringList{comentario} + AnotarDecision + QStringList{"ObtenerConexion()", "SQL CommitTrans"}));
    EXPECT_EQ(Documentos()[2], "D-3|RE|75.25|Limpieza|<NULL>|<NULL>|PRUEBA|2026-12-06T10:30:00");
    EXPECT_TRUE(d.Procesado() && !d.isVisible() && !frmRechazar::ExisteInstancia());

    // A statement the database refuses rolls back and keeps the dialog open.
    const QString mala = "UPDATE Documentos SET Estado = 'RE' WHERE Folioo = 'D-1'";
    const QString descripcion = Estropear("Ca_Sql_Rechazar", mala, "D-1");
    g.mensajes.clear();
    g.llamadas.clear();
    const QStringList antes = Documentos();
    frmRechazar& r = MostrarRechazo("DOCUMENTOS", "D-1", Clave, "   "); // blanks are a comment
    r.cmdAceptar_Click();
    EXPECT_EQ(Sentencias(), (QStringList{"BeginTrans", SelectRechazo, mala, "RollbackTrans"}));
    EXPECT_TRUE(Documentos() == antes && r.isVisible() && !r.Procesado());

    // The shell refuses the comment: the rejection is undone with it.
    Configurar("Ca_Sql_Rechazar", Rechazo);
    g.alGuardarComentario = [](QString&) { throw ErrorRm("Comentarios fuera de línea"); };
    g.llamadas.clear();
    r.cmdAceptar_Click();
    EXPECT_EQ(g.Avisos(),
              (QStringList{"ERR-ID:7500009|16|Rechazar|frmRechazar|Verifique la configuración del rechazo\r\n" + descripcion,
                           "ERR-ID:7500008|16|cmdAceptar_Click()|frmRechazar|Comentarios fuera de línea"}));
    EXPECT_EQ(Sentencias().mid(Sentencias().size() - 2),
              (QStringList{"UPDATE Documentos SET Estado = 'RE', Oper = 'PRUEBA', Fecha = '2026-12-06T10:30:00' WHERE Folio = 'D-1'", "RollbackTrans"}));
    EXPECT_TRUE(Documentos() == antes && r.isVisible() && !r.Procesado());

    // Pressing again runs the rejection a second time.
    g.alGuardarComentario = nullptr;
    r.cmdAceptar_Click();
    EXPECT_TRUE(Sentencias().filter("UPDATE Documentos").size() == 2 && r.Procesado() && !r.isVisible());
}

// Another operator decided first: the guarded statement changes no row,
// nothing is printed or commented, and the document leaves the inbox.
TEST_P(PruebaRevision, DecisionQueNoCambiaNingunaFilaAvisaQueOtroLaTomo)
{
    CrearDocumentos("FMT_DOC");
    Configurar("Ca_Sql_Autoriazion", Autorizacion + " AND Estado = 'PE'");
    Configurar("Ca_Sql_Rechazar", Rechazo + " AND Estado = 'PE'");
    Iniciar();
    frmAutorizacion& d = MostrarDialogo("D-1");
    Ejecutar("UPDATE Documentos SET Estado = 'RE' WHERE Folio IN ('D-1', 'D-2')");
    const QStringList antes = Documentos();
    d.CmdAutorizado_Click();
    frmRechazar& r = MostrarRechazo("DOCUMENTOS", "D-2", Clave, "No procede");
    r.cmdAceptar_Click();
    const QString otro = "|64|%1|%2|El documento %3 ya no está pendiente: otro operador lo procesó antes. No se aplicó ningún cambio.";
    EXPECT_EQ(g.TomarAvisos(),
              (QStringList{"ERR-ID:7500057" + otro.arg("Autorizar", "frmAutorizacion", "D-1"), "ERR-ID:7500058" + otro.arg("Rechazar", "frmRechazar", "D-2")}));
    // Nothing of the loser's decision is kept: each transaction is undone.
    EXPECT_TRUE(Sentencias().filter("CommitTrans").isEmpty() && Sentencias().filter("RollbackTrans").size() == 2);
    EXPECT_TRUE(Documentos() == antes && impresiones.isEmpty() && g.comentarios.isEmpty());
    EXPECT_TRUE(d.Procesado() && !d.isVisible() && r.Procesado() && !r.isVisible());
}

TEST_P(PruebaRevision, PlantillaQueNoSePuedeMostrarNoAbreNada)
{
    CrearDocumentos();
    Ejecutar("UPDATE Documentos SET Proveedor = NULL WHERE Folio = 'D-1'");
    Iniciar();
    frmRM640& forma = AbrirBandeja();
    orvinda::ListView& lista = forma.lvInsidencias(0);
    // A document no longer in its table opens the page with its markers.
    lista.ListItemsAdd("D-99");
    lista.setSelectedIndex(3);
    QString visto;
    AlAbrirseDialogo(
        [&](frmAutorizacion& d) {
            visto = d.WebBrowser1().HtmlCuerpo();
            d.cmdCancelar_Click();
        },
        "{folio}");
    forma.lvInsidencias_DblClick(0);
    EXPECT_EQ(visto, Plantilla);
    EXPECT_TRUE(g.mensajes.isEmpty() && lista.ListItemsCount() == 4); // cancelled: the list keeps what it had

    bool abierto = false;
    AlAbrirseDialogo([&](frmAutorizacion&) { abierto = true; });

    lista.setSelectedIndex(0); // a NULL in the document's row
    forma.lvInsidencias_DblClick(0);
    Configurar("Ca_Sql_Plantilla", "SELEC Folio FROM Documentos");
    lista.setSelectedIndex(1); // a template query the database rejects
    forma.lvInsidencias_DblClick(0);
    const QString prefijo = "ERR-ID:7500005|16|Actualizar_Autorizaciones()|frmRM640|";
    EXPECT_EQ(g.Avisos(), (QStringList{prefijo + ErrorRm::UsoNoValidoDeNull().Descripcion(), prefijo + ErrorDe("SELEC Folio FROM Documentos")}));

    // An item without text: the three lookups, and nothing else.
    g.mensajes.clear();
    g.llamadas.clear();
    lista.ListItemsAdd(QString());
    lista.setSelectedIndex(4);
    forma.lvInsidencias_DblClick(0);
    EXPECT_TRUE(g.llamadas.size() == 6 && g.LlamadasA("BuscarValor").size() == 3);

    lista.ListItemsClear(); // no item, no selection
    forma.lvInsidencias_DblClick(0);
    EXPECT_EQ(g.Avisos(), QStringList{"ERR-ID:7500004|16|Actualizar_Autorizaciones()|frmRM640|No hay ningún documento seleccionado en la lista."});

    // A configuration that is gone renders nothing and says nothing.
    lista.ListItemsAdd("D-2");
    Ejecutar("DELETE FROM Configuracion_Autorizacion");
    forma.lvInsidencias_DblClick(0);
    EXPECT_FALSE(g.mensajes.size() != 1 || abierto || frmAutorizacion::ExisteInstancia());
}

// Several documents at once, each down the dialog's road in a transaction of
// its own: what the dialog would have stopped stays pending with its message,
// and a cancel between documents leaves the rest untouched.
TEST_P(PruebaRevision, AutorizacionEnLoteDejaPendientesConSuMotivoYCancelarSoloDetieneEntreDocumentos)
{
    CrearDocumentos("FMT_DOC");
    Ejecutar("INSERT INTO Documentos (Folio, Estado, Monto, Proveedor) VALUES ('D-4', 'PE', '1,250.00', 'Tornillos')");
    Ejecutar("UPDATE Documentos SET Monto = '' WHERE Folio = 'D-2'");
    if (EnPostgres()) {
        Ejecutar("CREATE FUNCTION Bloqueo() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'Documento bloqueado'; END $$ LANGUAGE plpgsql");
        Ejecutar("CREATE TRIGGER Bloqueo BEFORE UPDATE ON Documentos FOR EACH ROW WHEN (OLD.Folio = 'D-3') EXECUTE FUNCTION Bloqueo()");
    } else {
        Ejecutar("CREATE TRIGGER Bloqueo BEFORE UPDATE ON Documentos WHEN OLD.Folio = 'D-3' BEGIN SELECT RAISE(ABORT, 'Documento bloqueado'); END");
    }
    Iniciar();
    // The log has rows of its own for what was decided.
    const auto todo = [this] {
        QStringList r;
        for (const QString& t : conexion->BaseDatos().tables())
            if (!t.startsWith("Bitacora_", Qt::CaseInsensitive))
                r << t << Contenido(t, "1");
        return r;
    };
    const QString hecho = "|AU|%1|%2|||PRUEBA|2026-12-06T10:30:00", obligatorio = "El campo 'MONTO' es obligatorio no puede estar vacío";

    // Cancelled before the third document: only the first changed.
    QStringList esperado = todo();
    esperado.replace(esperado.indexOf("D-1|PE|100.00|Papelera|<NULL>|<NULL>|<NULL>|<NULL>"), "D-1" + hecho.arg("100.00", "Papelera"));
    QList<int> preguntas;
    auto r = Lote(Clave, {"D-1", "D-2", "D-3", "D-4"}, [&](int hechos, int total) {
        preguntas << hechos * 10 + total;
        return hechos < 2;
    });
    EXPECT_TRUE(r.cancelado && r.autorizados == QStringList{"D-1"} && preguntas == (QList<int>{4, 14, 24}));
    EXPECT_TRUE(r.pendientes.size() == 1 && r.pendientes[0].folio + "|" + r.pendientes[0].motivo == "D-2|" + obligatorio);
    EXPECT_EQ(todo(), esperado);

    // A printer that fails leaves the authorization standing, with a notice.
    fallaImpresion = "La impresora no responde";
    r = Lote(Clave, {"D-2", "D-3", "D-4"});
    ASSERT_TRUE(!r.cancelado && r.autorizados == QStringList{"D-4"} && r.pendientes.size() == 2);
    EXPECT_TRUE(r.avisos.size() == 1 && r.avisos[0].folio + "|" + r.avisos[0].motivo == "D-4|La impresora no responde");
    const QString falla = "Verifique la configuración de la autorización\r\n" + ErrorDe("UPDATE Documentos SET Estado = 'AU' WHERE Folio = 'D-3'");
    EXPECT_EQ(QStringList({r.pendientes[0].folio + "|" + r.pendientes[0].motivo, r.pendientes[1].folio + "|" + r.pendientes[1].motivo}),
              (QStringList{"D-2|" + obligatorio, "D-3|" + falla}));
    EXPECT_EQ(Documentos().mid(1),
              (QStringList{"D-2|PE||Aceros Apodaca|<NULL>|<NULL>|<NULL>|<NULL>", "D-3|PE|75.25|Limpieza|<NULL>|<NULL>|<NULL>|<NULL>",
                           "D-4" + hecho.arg("1,250.00", "Tornillos")}));
    // Printed as the dialog prints, nothing shown, nothing left open.
    EXPECT_EQ(impresiones, (QStringList{"FMT_DOC|D-1||0|0|", "FMT_DOC|D-4||0|0|"}));
    EXPECT_TRUE(g.mensajes.isEmpty() && !conexion->EnTransaccion());
}

// A statement that lost its folio condition would change every document:
// the dialog, the bulk run and the rejection undo it and say how many rows
// and which limit; with the limit raised, a statement that touches detail
// rows goes through. The page is read before the transaction begins.
TEST_P(PruebaRevision, UnaDecisionQueCambiaDemasiadasFilasSeDeshaceYLaPaginaSeLeeAntes)
{
    CrearDocumentos();
    Configurar("Ca_Sql_Autoriazion", "UPDATE Documentos SET Estado = 'AU', Monto = '{MONTO}'");
    Configurar("Ca_Sql_Rechazar", "UPDATE Documentos SET Estado = 'RE'");
    Iniciar();
    const QStringList antes = Documentos();
    QList<bool> enTransaccion;
    const auto leer = [&](const QString&) {
        enTransaccion << conexion->EnTransaccion();
        return QStringLiteral("1");
    };
    const auto autorizar = [&] {
        return RevisionDocumento::Autorizar(
            [this](const QString& m, int e, const QString& t, const QString& id) {
                g.mensajes.append({m, e, t, id, {}});
            },
            Clave, "DOCUMENTOS", "D-1", "*MONTO,CUENTA,COMENTARIO_DOCUMENTO", leer);
    };
    const auto r = autorizar();
    const auto lote = Lote(Clave, {"D-2"});
    MostrarRechazo("DOCUMENTOS", "D-3", Clave, "No procede").cmdAceptar_Click();
    const QString limite = "%1 cambiaría 3 filas y el límite por documento es 1 (parámetro general RM640_FILAS_POR_DOCUMENTO): se deshizo y no se "
                           "aplicó ningún cambio. Avise a quien mantiene la configuración: a la sentencia puede faltarle la condición sobre el folio o, si debe "
                           "cambiar también filas de detalle, hay que subir ese límite.";
    EXPECT_EQ(
        g.Avisos(),
        (QStringList{"ERR-ID:7500062|16|Autorizar||" + limite.arg("La autorización"), "ERR-ID:7500063|16|Rechazar|frmRechazar|" + limite.arg("El rechazo")}));
    EXPECT_TRUE(!r.ejecutada && lote.autorizados.isEmpty() && lote.pendientes.value(0).motivo == limite.arg("La autorización"));
    EXPECT_TRUE(Documentos() == antes && Valor("SELECT COUNT(*) FROM Comentarios_Documento") == "0" && !conexion->EnTransaccion());
    EXPECT_TRUE(!enTransaccion.isEmpty() && !enTransaccion.contains(true));

    Ejecutar("INSERT INTO Parametros_Generales (Pg_Cve_Parametro, Pg_Ambito, Pg_Tipo, Pg_Valor) VALUES ('RM640_FILAS_POR_DOCUMENTO', 0, 'N', '3')");
    EXPECT_TRUE(autorizar().ejecutada && Valor("SELECT COUNT(*) FROM Documentos WHERE Estado = 'AU'") == "3");
}

INSTANTIATE_TEST_SUITE_P(Bases, PruebaRevision, ::testing::Values(false, true), NombreDeBase);
