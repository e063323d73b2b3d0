#include "editor/EntornoEditor.h"

using namespace pruebas_editor;

TEST_F(PruebaEditor, AbreModalEnGeneralYEscapeCierraSinGuardar)
{
    frmConfiguracion& f = Editor();
    QStringList titulos;
    for (int k = 0; k < 6; ++k)
        titulos << f.ssTabVex().tabcaption(k);
    EXPECT_EQ(titulos, (QStringList{"General", "SQL selección de datos", "SQL autorización", "SQL plantilla", "HTML plantilla", "SQL rechazar"}));
    EXPECT_EQ(f.txtClave().Formato(), QVariant("0000"));
    EXPECT_EQ(g.LlamadasA("LeerParametro"), QStringList{"LeerParametro(FTO_CONFIGURACION_AUTORIZACION,0,T,0000)"});
    // The host clears and opens every field but the key, which it finds along the tab order.
    EXPECT_EQ(orvinda::UtileriasOrvinda::CampoClave(f), &f.txtClave());

    // The inbox's command: modal, tab 0 with the focus on the key, Escape
    // closes without saving and the editor is unloaded, storing its place.
    g.llamadas.clear();
    f.Guardado = true;
    bool modal = false;
    AlAbrirse<frmConfiguracion>([&](frmConfiguracion& f) {
        modal = QApplication::activeModalWidget() == &f;
        EXPECT_EQ(f.ssTabVex().activetab(), 0);
        EXPECT_EQ(f.focusWidget(), &f.txtClave());
        QTest::keyClick(&f.txtClave(), Qt::Key_Escape);
        EXPECT_FALSE(f.Guardado);
    });
    frmConfiguracion::AbrirDesdeBandeja();
    EXPECT_TRUE(modal && !frmConfiguracion::ExisteInstancia() && g.mensajes.isEmpty());
    EXPECT_EQ(g.llamadas.value(0) + Ajustes().value("Settings/WindowState").toString(), "FormatearConsulta(32)0");
}

TEST_F(PruebaEditor, CargaPorClaveSegunEstadoYEdicionDeLaClave)
{
    Fila("0001", "AC");
    Fila("0002", "BA");
    Fila("0003", QVariant());
    Fila("0004", "AC", QVariant());
    frmConfiguracion& f = Editor();
    conexion->LimpiarBitacora();
    g.llamadas.clear();

    Cargar(f, "1");
    EXPECT_EQ(f.txtClave().Texto(), "0001");
    EXPECT_EQ(conexion->Bitacora(), QStringList{"SELECT * FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0001'"});
    EXPECT_EQ(Textos(f),
              (QStringList{"Desc 0001", "Pest 0001", "FTO0001", "TABLA0001", "CLAVE0001", "SELECT 1", "AUT 0001", "CAMPOS 0001", "PLA 0001", "<b>0001</b>",
                           "REC 0001"}));
    EXPECT_TRUE(g.LlamadasA("FormatearConsulta").size() == 4 && !f.txtDescripcion().Habilitado());

    // Editing the key clears through the host and empties only the first SQL box.
    f.txtClave().setTexto("0002");
    EXPECT_EQ(Textos(f).mid(5, 2), (QStringList{"", "AUT 0001"}));
    EXPECT_EQ(Banderas(f) << f.txtDescripcion().Texto(), (QStringList{"", ""}));

    // The commands each state of the row offers.
    const QStringList baja{"Informacion", "Reactivar", "Copiar"};
    for (const auto& [clave, banderas] :
         {std::pair{"0001", Activa}, std::pair{"0002", baja}, std::pair{"0003", baja}, std::pair{"9999", QStringList{"Copiar"}}}) {
        Cargar(f, QLatin1String(clave));
        EXPECT_EQ(Banderas(f), banderas) << clave;
    }
    EXPECT_TRUE(g.mensajes.isEmpty());

    // A NULL statement stops the load after the one-line fields before it.
    Cargar(f, "0004");
    EsperarMensaje("ERR-ID:7500024", "Uso no válido de Null", 16, "txtClave_Enter()");
    EXPECT_EQ(Textos(f).mid(0, 6), (QStringList{"Desc 0004", "Pest 0004", "", "TABLA0004", "CLAVE0004", ""}));
    EXPECT_EQ(Banderas(f), QStringList{""});

    // Nothing happens for an empty key or while an edit is pending.
    conexion->LimpiarBitacora();
    Cargar(f, "");
    f.Controles().EjecutarNuevo(false);
    Cargar(f, "0001");
    EXPECT_TRUE(conexion->Bitacora().filter("SELECT *").isEmpty());
}

// Each row empties its field and every required one after it, so the order shows.
TEST_F(PruebaEditor, CamposObligatoriosEnOrdenConFocoYPestania)
{
    frmConfiguracion& f = Editor();
    f.Controles().EjecutarNuevo(false);
    struct Caso
    {
        int campo;
        const char* foco;
        const char* id;
        QString mensaje;
        int pestania;
    };
    const Caso casos[] = {
        {0, "txtDescripcion", "ERR-ID:7500011", "Debe especificar una descripción", 3},
        {1, "txtPestania", "ERR-ID:7500012", "Debe especificar una pestaña", 3},
        {3, "txtTabla", "ERR-ID:7500013", "Debe especificar una tabla", 3},
        {5, "txtProcedimiento", "ERR-ID:7500014", "Debe especificar una consulta para la selección de datos del listview", 1},
        {6, "txtProcedimiento2", "ERR-ID:7500015", "Debe especificar una consulta una actualización para la autorización de los datos", 2},
        {8, "txtProcedimiento3", "ERR-ID:7500016", "Debe especificar una consulta para la consulta de la plantilla ", 3},
        {9, "txtProcedimiento4", "ERR-ID:7500017", "Debe especificar información para la plantilla", 4},
        {10, "txtProcedimiento5", "ERR-ID:7500018", "Debe especificar una consulta para el rechazar", 5},
    };
    for (const Caso& c : casos) {
        QStringList valores = Datos;
        for (int k = c.campo; k < valores.size(); ++k)
            valores[k].clear();
        valores[2].clear(); // the format, the table key and the field list may be empty
        valores[4].clear();
        valores[7].clear();
        Llenar(f, valores);
        f.ssTabVex().setActivetab(3);
        Pulsar(f, "cmdGuardar");
        EsperarMensaje(c.id, c.mensaje, 48, "Atención");
        EXPECT_EQ(f.focusWidget()->objectName(), QLatin1String(c.foco)) << c.id;
        EXPECT_TRUE(f.ssTabVex().activetab() == c.pestania && !f.Controles().GuardadoPendiente()) << c.id;
    }
    EXPECT_TRUE(!conexion->Bitacora().contains("BeginTrans") && Valor("SELECT COUNT(*) FROM Configuracion_Autorizacion") == "0");
}

TEST_F(PruebaEditor, InsertaConElTextoExactoYCierraTrasGuardar)
{
    frmConfiguracion& f = Editor();
    f.show();
    f.Controles().EjecutarNuevo(false);
    Llenar(f);
    conexion->LimpiarBitacora();
    QStringList alAvisar;
    g.alMostrar = [&](const Grabacion::Mensaje&) { alAvisar = Textos(f) << f.txtClave().Texto(); };
    Pulsar(f, "cmdGuardar");

    const QString insertar = QStringLiteral("INSERT INTO Configuracion_Autorizacion(   Ca_Cve_Configuracion_Autorizacion,    Ca_Descripcion,     Ca_Etiqueta,  "
                                            "   Ca_Formato_Impresion,     Ca_Tabla,     Ca_Tabla_Clave,     Ca_Sql,     Ca_Sql_Autoriazion,  "
                                            "   Ca_Campos_Autorizar,     Ca_Sql_Plantilla,     Ca_Plantilla_Autorizacion,     Ca_Sql_Rechazar,  "
                                            "   Fecha_Alta,    Fecha_Ult_Modif,    Oper_Alta,    Oper_Ult_Modif)    VALUES (   '0007',    ")
        + Valores + "   '2026-12-06T10:30:00',    '2026-12-06T10:30:00',    'PRUEBA',    'PRUEBA')";
    EXPECT_EQ(conexion->Bitacora().mid(1), (QStringList{"BeginTrans", "SET QUOTED_IDENTIFIER OFF", insertar, "SET QUOTED_IDENTIFIER ON", "CommitTrans"}));
    EXPECT_EQ(Columnas("0007"), Datos);
    EXPECT_EQ(Valor("SELECT Es_Cve_Estado || Oper_Alta || Fecha_Alta FROM Configuracion_Autorizacion"), "ACPRUEBA2026-12-06T10:30:00");

    // The editor is already empty when the user is told to reopen the inbox.
    EsperarMensaje("ERR-ID:7500019", "Para verificar la configuración guardada,\r\n es necesario salir y entrar de nuevo a la plantilla", 64, "Información");
    EXPECT_EQ(alAvisar, QStringList(12, QString()));
    EXPECT_TRUE(f.Guardado && f.isHidden() && !f.Controles().EnEdicion() && f.txtClave().Habilitado() && g.preguntas.isEmpty());
}

TEST_F(PruebaEditor, ActualizaSinProbarLaClaveNiTocarElAlta)
{
    Fila("0001", "AC");
    frmConfiguracion& f = Editor();
    Cargar(f, "0001");
    Pulsar(f, "cmdModificar");
    Llenar(f);
    conexion->LimpiarBitacora();
    g.llamadas.clear();
    Pulsar(f, "cmdGuardar");

    const QString esperado
        = QStringLiteral("UPDATE Configuracion_Autorizacion SET    Ca_Descripcion = 'Requisición de ''compras''',    Ca_Etiqueta = 'Compras', "
                         "   Ca_Formato_Impresion = 'FTO_REQ',    Ca_Tabla = 'REQUISICIONES',    Ca_Tabla_Clave = 'FOLIO', "
                         "   Ca_Sql = \"SELECT Folio\n\tFROM Req WHERE Es_Cve_Estado <> 'BA' AND Nota = \"\"x\"\"\", "
                         "   Ca_Sql_Autoriazion = \"UPDATE Req SET Estado = 'AU' WHERE Folio = '{FOLIO}'\", "
                         "   Ca_Campos_Autorizar = '*MONTO,COMENTARIO_DOCUMENTO ''libre''', "
                         "   Ca_Sql_Plantilla = \"SELECT * FROM Req WHERE Folio = '{FOLIO}'\", "
                         "   Ca_Plantilla_Autorizacion = '<p class=\"doc\">Folio {FOLIO} d''Artagnan</p><input name=\"MONTO\">"
                         "<textarea name=\"COMENTARIO_DOCUMENTO ''libre''\"></textarea>', "
                         "   Ca_Sql_Rechazar = \"UPDATE Req SET Estado = 'RE' WHERE Folio = \"\"{FOLIO}\"\"\", "
                         "   Oper_Ult_Modif = 'PRUEBA',    Fecha_Ult_Modif = '2026-12-06T10:30:00' "
                         "WHERE Ca_Cve_Configuracion_Autorizacion = '0001'");
    EXPECT_EQ(conexion->Bitacora(), (QStringList{"BeginTrans", "SET QUOTED_IDENTIFIER OFF", esperado, "SET QUOTED_IDENTIFIER ON", "CommitTrans"}));
    EXPECT_EQ(Columnas("0001") << g.LlamadasA("BuscarValor"), Datos);
    EXPECT_EQ(Valor("SELECT Oper_Alta || Fecha_Alta || Oper_Ult_Modif || Es_Cve_Estado FROM Configuracion_Autorizacion"), "ALTA2020-01-01T00:00:00PRUEBAAC");
    EXPECT_TRUE(f.Guardado);
}

// A template of 1 MiB with quotes of both kinds and letters beyond ASCII,
// written by a save and shown again by a load, whole.
TEST_F(PruebaEditor, PlantillaDeUnMiBIdaYVuelta)
{
    frmConfiguracion& f = Editor();
    QStringList datos = Datos;
    datos[9] = "<tr><td class=\"año\">{FOLIO}</td><td>l'Éxito — ñandú</td></tr>\n";
    while (datos[9].size() < (1 << 20))
        datos[9] += datos[9];
    Pulsar(f, "cmdNuevo");
    Llenar(f, datos);
    Pulsar(f, "cmdGuardar");
    ASSERT_TRUE(f.Guardado);
    EXPECT_EQ(Columnas("0007"), datos);
    f.show();
    Cargar(f, "0007");
    EXPECT_EQ(Textos(f), datos);
}

TEST_F(PruebaEditor, ClaveOcupadaSegunCatAutoclave)
{
    Fila("0007", "BA");
    frmConfiguracion& f = Editor();
    f.Controles().EjecutarNuevo(false);
    Llenar(f);
    const QStringList antes = Contenido("Configuracion_Autorizacion", "1");

    for (const QVariant& autoclave : {QVariant(), QVariant(false), QVariant(0)}) {
        if (autoclave.isValid())
            g.parametros.insert("CAT_AUTOCLAVE", autoclave);
        f.txtDescripcion().setFocus();
        Pulsar(f, "cmdGuardar");
        EsperarMensaje("ERR-ID:7500010", "La clave ya está asignada al perfil puesto0007", 48, "Orvinda");
        EXPECT_TRUE(f.focusWidget() == &f.txtClave() && !f.Controles().GuardadoPendiente());
    }
    EXPECT_EQ(g.LlamadasA("LeerParametro").last(), "LeerParametro(CAT_AUTOCLAVE,0,,)");

    g.parametros.insert("CAT_AUTOCLAVE", true);
    g.respuestas = {7};
    Pulsar(f, "cmdGuardar");
    EsperarMensaje("ERR-ID:7500025", "La clave, ya existe en la base de datos0007\r\n¿Desea generar una nueva clave?", 36, "Generar nueva clave?");
    EXPECT_TRUE(f.txtClave().Texto() == "0007" && Contenido("Configuracion_Autorizacion", "1") == antes);

    // Yes: the next key goes into the field and the save goes on without a second lookup.
    g.respuestas = {6};
    g.siguienteClave = 12;
    g.llamadas.clear();
    Pulsar(f, "cmdGuardar");
    EXPECT_EQ(g.LlamadasA("BuscarValor").size(), 1);
    EXPECT_EQ(g.LlamadasA("SiguienteClave"), QStringList{"SiguienteClave(Configuracion_Autorizacion,Ca_Cve_Configuracion_Autorizacion,,,,,,,)"});
    EXPECT_EQ(Columnas("0012"), Datos);
    EXPECT_TRUE(Contenido("Configuracion_Autorizacion", "1").value(0) == antes.value(0) && f.Guardado);
}

TEST_F(PruebaEditor, FallosDelServidorDeshacenYConservanLaEdicion)
{
    Fila("0001", "AC");
    Fila("0002", "BA");
    Ejecutar("CREATE TRIGGER no_alta BEFORE INSERT ON Configuracion_Autorizacion BEGIN SELECT RAISE(ABORT, 'alta rechazada'); END");
    Ejecutar("CREATE TRIGGER no_cambio BEFORE UPDATE ON Configuracion_Autorizacion BEGIN SELECT RAISE(ABORT, 'cambio rechazado'); END");
    const QStringList antes = Contenido("Configuracion_Autorizacion", "1");
    frmConfiguracion& f = Editor();
    f.show();
    f.Controles().EjecutarNuevo(false);
    Llenar(f);
    conexion->LimpiarBitacora();
    Pulsar(f, "cmdGuardar");

    const QStringList bitacora = conexion->Bitacora();
    ASSERT_EQ(bitacora.size(), 6);
    EXPECT_EQ(bitacora.mid(1, 2), (QStringList{"BeginTrans", "SET QUOTED_IDENTIFIER OFF"}));
    EXPECT_EQ(bitacora.mid(4), (QStringList{"RollbackTrans", "SET QUOTED_IDENTIFIER ON"}));
    EsperarMensaje("ERR-ID:7500020", "alta rechazada", 16, "ERROR");
    EXPECT_EQ(Textos(f), Datos);
    EXPECT_TRUE(f.txtClave().Texto() == "0007" && f.isVisible() && !f.Guardado && !f.Controles().GuardadoPendiente());
    EXPECT_EQ(f.Controles().ModoActual(), orvinda::Controles::Modo::Nuevo);

    // Delete and reactivation roll back under their own titles; the row stays shown.
    Pulsar(f, "cmdCancelar");
    Cargar(f, "0001");
    conexion->LimpiarBitacora();
    Pulsar(f, "cmdEliminar");
    EXPECT_EQ(conexion->Bitacora().value(2), "RollbackTrans");
    EsperarMensaje("ERR-ID:7500021", "cambio rechazado", 48, "Controles_Eliminar");
    EXPECT_EQ(f.txtDescripcion().Texto(), "Desc 0001");
    EXPECT_EQ(Banderas(f), Activa);

    Cargar(f, "0002");
    Pulsar(f, "cmdReactivar");
    EsperarMensaje("ERR-ID:7500022", "cambio rechazado", 48, "Controles_Reactivar()");
    EXPECT_EQ(f.txtProcedimiento2().Text(), "AUT 0002");
    EXPECT_EQ(Contenido("Configuracion_Autorizacion", "1"), antes);
}

TEST_F(PruebaEditor, EliminaYReactivaConSusSentencias)
{
    Fila("0001", "AC");
    frmConfiguracion& f = Editor();
    Cargar(f, "0001");
    conexion->LimpiarBitacora();
    Pulsar(f, "cmdEliminar");
    EXPECT_EQ(conexion->Bitacora(),
              (QStringList{"BeginTrans",
                           " UPDATE Configuracion_Autorizacion SET    Oper_Ult_Modif = 'PRUEBA',    Fecha_Ult_Modif = '2026-12-06T10:30:00',"
                           "   Oper_Baja = 'PRUEBA',    Fecha_Baja = '2026-12-06T10:30:00',    Es_Cve_Estado = 'BA' "
                           " WHERE Ca_Cve_Configuracion_Autorizacion= '0001' ",
                           "CommitTrans"}));
    EXPECT_EQ(Valor("SELECT Es_Cve_Estado || Oper_Baja || Fecha_Baja FROM Configuracion_Autorizacion"), "BAPRUEBA2026-12-06T10:30:00");
    EXPECT_EQ(Textos(f) << Estado(f) << Banderas(f),
              QStringList(11, QString()) << "|clave||0"
                                         << "");

    Cargar(f, "0001");
    g.fechaServidor = QDateTime(QDate(2026, 12, 7), QTime(8, 0, 0));
    conexion->LimpiarBitacora();
    Pulsar(f, "cmdReactivar");
    EXPECT_EQ(conexion->Bitacora(),
              (QStringList{"BeginTrans",
                           " UPDATE Configuracion_Autorizacion SET    Oper_Ult_Modif = 'PRUEBA',    Fecha_Ult_Modif = '2026-12-07T08:00:00', "
                           "   Oper_Baja = '',    Fecha_Baja= NULL,    Es_Cve_Estado = 'AC' "
                           " WHERE Ca_Cve_Configuracion_Autorizacion = '0001' ",
                           "CommitTrans"}));
    EXPECT_EQ(Valor("SELECT Es_Cve_Estado || '|' || Oper_Baja || '|' || COALESCE(Fecha_Baja, 'NULL') FROM Configuracion_Autorizacion"), "AC||NULL");
    EXPECT_EQ(g.llamadas.last(), "LimpiarForma(frmConfiguracion,1)");
    EXPECT_EQ(Textos(f), QStringList(11, QString()));
    EXPECT_TRUE(g.mensajes.isEmpty() && !f.Guardado);
}

// Each row loads a key (or not), shows a tab, presses a command and checks the state reached.
TEST_F(PruebaEditor, TablaDeEstadosDeLosComandos)
{
    Fila("0001", "AC");
    Fila("0002", "BA");
    const QStringList original = Contenido("Configuracion_Autorizacion", "1");
    QStringList consultas;
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::ConsultaRegistro::IdPrograma), [&] { return std::make_unique<ConsultaGrabadora>(consultas); });
    frmConfiguracion& f = Editor();
    f.show();
    struct Caso
    {
        const char* clave;
        int pestania;
        const char* boton;
        const char* estado;
        const char* foco;
        QStringList banderas;
    };
    const Caso casos[] = {
        {"", 3, "cmdNuevo", "0007||resto|0", "txtDescripcion", {""}},           {"", 4, "cmdCancelar", "|clave||0", "txtClave", {""}},
        {"0001", 4, "cmdModificar", "0001||resto|4", "txtDescripcion", Activa}, {"", 4, "cmdCancelar", "|clave||0", "txtClave", {""}},
        {"0001", 2, "cmdInformacion", "0001|clave||2", nullptr, Activa},        {"0002", 1, "cmdExtra", "0007||resto|0", nullptr, {""}},
    };
    for (const Caso& c : casos) {
        if (*c.clave)
            Cargar(f, QLatin1String(c.clave));
        else
            Llenar(f);
        const QStringList antes = Textos(f);
        f.ssTabVex().setActivetab(c.pestania);
        Pulsar(f, c.boton);
        EXPECT_EQ(Estado(f), QLatin1String(c.estado)) << c.boton;
        if (c.foco) {
            EXPECT_EQ(f.focusWidget()->objectName(), QLatin1String(c.foco)) << c.boton;
        }
        EXPECT_EQ(Banderas(f), c.banderas) << c.boton;
        // New empties the fields, Cancel empties them, the rest keep what was shown.
        const QString boton = QLatin1String(c.boton);
        EXPECT_EQ(Textos(f), boton == "cmdNuevo" || boton == "cmdCancelar" ? QStringList(11, QString()) : antes) << c.boton;
    }
    EXPECT_EQ(consultas, QStringList{"Configuracion_Autorizacion|Ca_Cve_Configuracion_Autorizacion|0001||||"});
    EXPECT_TRUE(f.txtClave().ModoNuevo());

    // The copy saves as a new row and leaves the copied one alone.
    const QStringList copiados = Textos(f);
    Pulsar(f, "cmdGuardar");
    EXPECT_EQ(Columnas("0007"), copiados);
    EXPECT_EQ(Contenido("Configuracion_Autorizacion", "1").mid(0, 2), original);
    g.mensajes.clear();

    // Leaving during an edit loses it without asking; Guardado is left alone.
    f.show();
    Cargar(f, "0001");
    Pulsar(f, "cmdModificar");
    f.Guardado = true;
    Pulsar(f, "cmdSalir");
    EXPECT_TRUE(f.isHidden() && f.Guardado && g.mensajes.isEmpty());
}

TEST_F(PruebaEditor, PosicionDeLaVentanaIdaYVuelta)
{
    frmConfiguracion* f = &Editor();
    f->move(100, 60);
    delete f;
    f = &Editor();
    EXPECT_EQ(f->pos(), QPoint(100, 60));
    // Closed maximized only the state is stored; closed minimized nothing is.
    f->setWindowState(Qt::WindowMaximized);
    delete f;
    f = &Editor();
    EXPECT_TRUE(f->windowState() & Qt::WindowMaximized);
    f->setWindowState(Qt::WindowMinimized);
    delete f;
    EXPECT_EQ(Ajustes().value("Settings/Left").toString() + ' ' + Ajustes().value("Settings/WindowState").toString(), "1500 2");
    // Entries that are not numbers count as missing.
    Ajustes().setValue("Settings/Left", "abc");
    Ajustes().setValue("Settings/WindowState", "x");
    f = &Editor();
    EXPECT_TRUE(f->pos() == QPoint(1, 60) && f->windowState() == Qt::WindowNoState);
    // A place no screen shows any more (a monitor unplugged) comes back onto one.
    delete f;
    Ajustes().setValue("Settings/Left", "300000");
    Ajustes().setValue("Settings/Top", "-90000");
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(Editor().pos()));
}

TEST_F(PruebaEditor, TeclasTabuladorAltDigitoYEnter)
{
    frmConfiguracion& f = Editor();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    Pulsar(f, "cmdNuevo");
    QTest::keyClick(&f.txtDescripcion(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), &f.txtPestania());

    // Tab types a tab in the first four statement boxes, not in the fifth.
    for (auto [caja, pestania, texto] : {std::tuple{&f.txtProcedimiento(), 1, "\t"}, std::tuple{&f.txtProcedimiento5(), 5, ""}}) {
        f.ssTabVex().setActivetab(pestania);
        caja->setFocus();
        QTest::keyClick(caja, Qt::Key_Tab);
        EXPECT_EQ(caja->Text(), QLatin1String(texto));
        EXPECT_EQ(QApplication::focusWidget() == caja, *texto != 0);
    }
    // Leaving a box gives every control its tab stop back.
    f.ssTabVex().setActivetab(0);
    f.txtTabla().setFocus();
    EXPECT_TRUE(f.txtDescripcion().TabStop() && f.ssTabVex().TabStop() && f.txtProcedimiento().TabStop());
    QTest::keyClick(&f.txtTabla(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &f.txtClave_Principal());

    // Alt alone with a main-keyboard digit of a tab selects it and types nothing.
    f.txtDescripcion().setFocus();
    f.txtDescripcion().setTexto("");
    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    for (auto [tecla, teclas, pestania] : {std::tuple{Qt::Key_3, alt, 2},
                                           {Qt::Key_1, alt | Qt::ControlModifier, 2},
                                           {Qt::Key_1, alt | Qt::ShiftModifier, 2},
                                           {Qt::Key_1, alt | Qt::KeypadModifier, 2},
                                           {Qt::Key_7, alt, 2},
                                           {Qt::Key_6, alt, 5}}) {
        QTest::keyClick(&f.txtDescripcion(), tecla, teclas);
        EXPECT_EQ(f.ssTabVex().activetab(), pestania) << tecla << " " << teclas.toInt();
    }
    EXPECT_FALSE(f.txtDescripcion().Texto().contains(u'3') || f.txtDescripcion().Texto().contains(u'6') || !f.isVisible());
    // Both keys let go at once: the digit's key-up comes without Alt.
    QTest::keyPress(&f.txtDescripcion(), Qt::Key_4, alt);
    QTest::keyRelease(&f.txtDescripcion(), Qt::Key_4);
    EXPECT_EQ(f.ssTabVex().activetab(), 3);

    // A new record, no record loaded before, reads as SQL.
    EXPECT_FALSE(f.txtProcedimiento3().document()->findChildren<QSyntaxHighlighter*>().isEmpty());
    // F9 rehearses the record being edited, in a window of its own.
    QString probado;
    AlAbrirseModal(
        sondeos, [] { return qobject_cast<rm640::frmEnsayo*>(QApplication::activeModalWidget()); },
        [&](QWidget& w) { probado = static_cast<rm640::frmEnsayo&>(w).Informe(); });
    QTest::keyClick(&f.txtDescripcion(), Qt::Key_F9);
    EXPECT_TRUE(QTest::qWaitFor([&] { return probado.startsWith("La consulta del listado falla"); }));
}

// A stored text comes back from a load and a save exactly as it was, by
// either road to the database (update, or a copy inserted).
TEST_F(PruebaEditor, CadaCaracterSobreviveCargaYGuardado)
{
    const QString texto = "Área\u00A0año\t'x'\r\n\"Ñ\"\u00A0";
    const QStringList& columnas = NombresColumnas;
    QList<std::pair<QString, QVariant>> fila = {{"Es_Cve_Estado", "AC"}};
    for (const QString& c : columnas)
        fila.append({c, texto});
    ASSERT_TRUE(Configuracion("0001", fila));
    frmConfiguracion& f = Editor();
    QStringList esperado(columnas.size(), texto);
    for (const auto& [comando, clave] : {std::pair{"cmdModificar", "0001"}, {"cmdExtra", "0007"}}) {
        Cargar(f, "0001");
        Pulsar(f, comando);
        // A line typed into an edited box ends like the text's own lines.
        f.txtProcedimiento4().moveCursor(QTextCursor::End);
        QTest::keyClicks(&f.txtProcedimiento4(), "\rok");
        Pulsar(f, "cmdGuardar");
        ASSERT_TRUE(f.Guardado) << comando;
        esperado[9] += "\r\nok";
        EXPECT_EQ(Columnas(clave), esperado) << comando;
    }
}

// Alt with anything but a tab's digit types nothing: not in the key field,
// where it would empty the record, nor in a statement box.
TEST_F(PruebaEditor, AltSinPestaniaNoEscribe)
{
    Fila("0001", "AC");
    frmConfiguracion& f = Editor();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    Cargar(f, "0001");
    const std::pair<char, Qt::KeyboardModifiers> teclas[]
        = {{'#', Qt::AltModifier | Qt::ShiftModifier}, {'5', Qt::AltModifier | Qt::KeypadModifier}, {'7', Qt::AltModifier}};
    for (const auto& [tecla, mods] : teclas)
        QTest::keyClick(&f.txtClave(), tecla, mods);
    EXPECT_EQ(f.txtClave().Texto() + f.txtDescripcion().Texto(), "0001Desc 0001");
    Pulsar(f, "cmdModificar");
    f.ssTabVex().setActivetab(1);
    f.txtProcedimiento().setFocus();
    for (const auto& [tecla, mods] : teclas)
        QTest::keyClick(&f.txtProcedimiento(), tecla, mods);
    EXPECT_TRUE(f.txtProcedimiento().Text() == "SELECT 1" && f.ssTabVex().activetab() == 1);
}

// F2 in the key field, or Buscar beside it, lists every configuration with
// its state and the inbox's filter; the chosen one loads as typing its key
// and confirming does. Nothing while an edit is pending.
TEST_F(PruebaEditor, LaListaDeConfiguracionesCargaLaClaveElegida)
{
    Fila("0001", "AC");
    Fila("0002", "BA");
    Fila("0003", QVariant());
    frmConfiguracion& f = Editor();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.txtClave().hasFocus(); }));

    QStringList filas;
    QString filtrada;
    int abiertas = 0;
    f.setAlBuscar([&](rm640::frmBuscarConfiguracion& l) {
        ++abiertas;
        orvinda::ListView& lista = l.lstConfiguraciones();
        for (int r = 0; r < lista.ListItemsCount(); ++r)
            filas << QStringList{lista.ListItemText(r), lista.ListItemText(r, 1), lista.ListItemText(r, 2), lista.ListItemText(r, 3)}.join(u'|');
        QTest::keyClicks(&l.txtFiltro(), "PEST 0002");
        filtrada = lista.ListItemsCount() == 1 ? lista.ListItemText(0) : QString();
        EXPECT_TRUE(l.Elegir("0002"));
    });
    conexion->LimpiarBitacora();
    QTest::keyClick(&f.txtClave(), Qt::Key_F2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return abiertas == 1 && f.txtDescripcion().Texto() == "Desc 0002"; }));
    EXPECT_EQ(filas, (QStringList{"0001|Desc 0001|Pest 0001|Activa", "0002|Desc 0002|Pest 0002|Eliminada", "0003|Desc 0003|Pest 0003|Eliminada"}));
    EXPECT_EQ(filtrada, "0002");
    // As typing the key and confirming it: the same statement, the same buttons.
    EXPECT_TRUE(conexion->Bitacora().contains("SELECT * FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0002'"));
    EXPECT_EQ(Banderas(f), (QStringList{"Informacion", "Reactivar", "Copiar"}));
    EXPECT_TRUE(f.txtClave().Texto() == "0002" && f.lblEstado().text().contains("ELIMINADA"));

    // The button beside the key does the same.
    f.setAlBuscar([&](rm640::frmBuscarConfiguracion& l) {
        ++abiertas;
        EXPECT_EQ(l.lstConfiguraciones().SelectedItem(), "0002"); // the key shown is the one chosen at first
        l.Elegir("0001");
    });
    f.cmdBuscar().click();
    EXPECT_EQ(abiertas, 2);
    EXPECT_EQ(Banderas(f), Activa);
    EXPECT_EQ(Textos(f).first(), "Desc 0001");

    // While an edit is pending there is nothing to choose.
    Pulsar(f, "cmdModificar");
    EXPECT_FALSE(f.cmdBuscar().isEnabled());
    f.Buscar();
    QTest::keyClick(&f.txtDescripcion(), Qt::Key_F2);
    QTest::qWait(50);
    EXPECT_TRUE(abiertas == 2 && f.txtClave().Texto() == "0001" && g.mensajes.isEmpty());
}
