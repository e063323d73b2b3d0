#include "review/EntornoRevision.h"

#include <QTestEventLoop>

using PruebaLectura = PruebaRevision;

// Made for reading: only the document grows, the design is the least size,
// and where the reviewer left the window is where it opens next.
TEST_P(PruebaLectura, LaVentanaCreceSoloEnElDocumentoYRecuerdaSuLugar)
{
    CrearDocumentos();
    Iniciar();
    const QSize diseno(647, 481);
    frmAutorizacion* d = &MostrarDialogo("D-1");
    EXPECT_EQ(d->size(), (d->screen()->availableGeometry().size() * 0.6).expandedTo(diseno));
    const auto controles = [&] { return QList<QWidget*>{&d->WebBrowser1(), &d->CmdAutorizado(), &d->CmdRechazar(), &d->cmdCancelar()}; };
    const QList<QRect> enDiseno{{8, 8, 569, 377}, {200, 392, 121, 25}, {328, 392, 129, 25}, {464, 392, 121, 25}};
    for (const auto& cambiar : std::initializer_list<std::function<void()>>{[&] { d->resize(diseno / 2); }, [&] { d->resize(diseno + QSize(300, 200)); },
                                                                            [&] { d->showMaximized(); }}) {
        cambiar();
        EXPECT_TRUE(QTest::qWaitFor([&] { return d->WebBrowser1().size() == QSize(569, 377) + d->size() - diseno; }, 2000));
        const QSize extra = d->size() - diseno;
        for (int k = 0; k < enDiseno.size(); ++k)
            EXPECT_EQ(controles()[k]->geometry(),
                      k == 0 ? enDiseno[0].adjusted(0, 0, extra.width(), extra.height()) : enDiseno[k].translated(extra.width(), extra.height()));
    }
    // Maximized over a size and place of its own; then a place no screen shows.
    d->showNormal();
    d->setGeometry(QRect(QPoint(40, 30), diseno + QSize(90, 60)));
    const QRect normal(d->pos(), d->size());
    d->showMaximized();
    d->cmdCancelar_Click();
    frmAutorizacion::Unload();
    d = &MostrarDialogo("D-1");
    EXPECT_TRUE(d->isMaximized());
    d->showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QRect(d->pos(), d->size()) == normal; }, 2000));
    d->move(-20000, 9000);
    d->cmdCancelar_Click();
    frmAutorizacion::Unload();
    d = &MostrarDialogo("D-1");
    EXPECT_TRUE(d->screen()->availableGeometry().contains(d->frameGeometry()));
}

// Ctrl+PageDown and its kin move along the list deciding nothing; with
// "Abrir el siguiente al terminar" each decision opens the list's next one
// in the same window, and the rejection starts from what the page says.
TEST_P(PruebaLectura, SeRecorreLaListaSinDecidirYCadaDecisionAbreLaSiguiente)
{
    CrearDocumentos();
    Ejecutar("INSERT INTO Documentos (Folio, Estado, Monto, Proveedor) VALUES ('D-4', 'PE', '9.00', 'Tornillos')");
    Iniciar();
    frmRM640& forma = AbrirBandeja();
    forma.lvInsidencias(0).setSelectedIndex(0);
    const QStringList antes = TodoElContenido();
    const auto mostrado = [](frmAutorizacion& d, const QString& folio, int posicion, int total) {
        const bool listo = QTest::qWaitFor([&] { return d.DocumentoListo() && d.isVisible(); }, 10000) && EsperarDocumento(d, "Folio " + folio + "<")
            && d.windowTitle() == QStringLiteral("Autorización — %1 (%2 de %3)").arg(folio).arg(posicion).arg(total);
        // A decision this soon after the move would be dropped.
        QTest::qWait(frmAutorizacion::GuardaTrasCambioMs);
        return listo;
    };
    AlAbrirseDialogo([&](frmAutorizacion& d) {
        Escribir(d, "MONTO", "1");
        const struct
        {
            Qt::Key tecla;
            Qt::KeyboardModifiers con;
            int fila;
        } pasos[] = {{Qt::Key_PageDown, Qt::ControlModifier, 2}, {Qt::Key_PageDown, {}, 2},
                     {Qt::Key_Right, Qt::AltModifier, 3},        {Qt::Key_Right, Qt::AltModifier, 4},
                     {Qt::Key_PageDown, Qt::ControlModifier, 4}, {Qt::Key_Left, Qt::AltModifier, 3},
                     {Qt::Key_PageUp, Qt::ControlModifier, 2},   {Qt::Key_PageUp, Qt::ControlModifier, 1},
                     {Qt::Key_PageUp, Qt::ControlModifier, 1}};
        for (const auto& p : pasos) {
            QTest::keyClick(d.WebBrowser1().focusProxy(), p.tecla, p.con);
            EXPECT_TRUE(mostrado(d, QStringLiteral("D-%1").arg(p.fila), p.fila, 4)) << d.windowTitle().toStdString();
        }
        // What was typed went with the document it was typed into.
        EXPECT_EQ(d.WebBrowser1().ValorElemento("MONTO"), "100.00");
    });
    emit forma.lvInsidencias(0).DblClick();
    EXPECT_EQ(TodoElContenido(), antes);

    // Three decisions in a row, one window: D-1 authorized, D-2 rejected with
    // the page's own comment, D-3 authorized; D-4 is shown, undecided.
    QStringList comentario;
    AlAbrirseDialogo([&](frmAutorizacion& d) {
        d.chkAbrirSiguiente().setChecked(true);
        QTest::keyClick(d.WebBrowser1().focusProxy(), Qt::Key_A, Qt::AltModifier);
        ASSERT_TRUE(mostrado(d, "D-2", 1, 3));
        Escribir(d, "COMENTARIO_DOCUMENTO", "Sin presupuesto");
        AlAbrirse<frmRechazar>([&](frmRechazar& r) {
            comentario << r.windowTitle() << r.txtComentario().toPlainText() << r.lblComentario().text();
            EXPECT_EQ(r.lblComentario().buddy(), &r.txtComentario());
            r.cmdAceptar_Click();
        });
        d.CmdRechazar().click();
        ASSERT_TRUE(mostrado(d, "D-3", 1, 2));
        d.CmdAutorizado().click();
        ASSERT_TRUE(mostrado(d, "D-4", 1, 1));
    });
    emit forma.lvInsidencias(0).DblClick();
    EXPECT_EQ(comentario, (QStringList{"Comentario — D-2", "Sin presupuesto", "&Motivo del rechazo (obligatorio)"}));
    QStringList decididos;
    for (const char* folio : {"D-1", "D-2", "D-3", "D-4"})
        decididos << Valor(QStringLiteral("SELECT Estado || COALESCE(Oper, '') FROM Documentos WHERE Folio = '%1'").arg(folio));
    EXPECT_EQ(decididos, (QStringList{"AUPRUEBA", "REPRUEBA", "AUPRUEBA", "PE"}));
    EXPECT_TRUE(g.LlamadasA("LlenarLista").size() == 3 && g.mensajes.isEmpty() && frmAutorizacion::Load().chkAbrirSiguiente().isChecked());
}

// The page's comment: the element the parameter names, else its one textarea.
TEST_P(PruebaLectura, ElComentarioDelRechazoSaleDeLaPagina)
{
    CrearDocumentos();
    Iniciar();
    frmAutorizacion& d = MostrarDialogo("D-1");
    const QString dos = "<textarea id=\"A\">uno</textarea><textarea name=\"B\">dos</textarea><input id=\"C\" value=\"tres\">";
    const struct
    {
        QString cuerpo, parametro, esperado;
    } casos[] = {{Pagina, "", ""},   {QString(Pagina).replace("></textarea>", ">Falta factura</textarea>"), "", "Falta factura"},
                 {dos, "", ""},      {dos, "B", "dos"},
                 {dos, "C", "tres"}, {dos, "NO_EXISTE", ""}};
    for (const auto& c : casos) {
        Ejecutar("DELETE FROM Parametros_Generales WHERE Pg_Cve_Parametro = 'RM640_CAMPO_COMENTARIO_RECHAZO'");
        Ejecutar(
            QStringLiteral(
                "INSERT INTO Parametros_Generales (Pg_Cve_Parametro, Pg_Ambito, Pg_Tipo, Pg_Valor) VALUES ('RM640_CAMPO_COMENTARIO_RECHAZO', 0, 'C', '%1')")
                .arg(c.parametro));
        d.WebBrowser1().ReemplazarCuerpo(c.cuerpo + "<i id=\"fin\"></i>");
        ASSERT_TRUE(EsperarDocumento(d, "id=\"fin\""));
        EXPECT_EQ(frmRechazar::ComentarioEnPagina(d.WebBrowser1()), c.esperado) << c.parametro.toStdString();
    }
}

// Alt+A before the document is shown is held for it, within the page's own
// limit; it never reads an empty page nor blames the configuration.
TEST_P(PruebaLectura, AltAAntesDeQueSeMuestreElDocumentoEsperaOSeDescarta)
{
    CrearDocumentos();
    Iniciar();
    const QStringList antes = TodoElContenido();
    for (const int limite : {1, 5000}) {
        frmAutorizacion::Unload();
        frmAutorizacion& d = CargarDialogo("D-1");
        d.WebBrowser1().setTimeout(limite);
        QSignalSpy mostrada(&d, &frmAutorizacion::PlantillaMostrada);
        d.show();
        // The key presses the button through a queued call: delivered at once.
        QTest::keyClick(&d, Qt::Key_A, Qt::AltModifier);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        EXPECT_TRUE(TodoElContenido() == antes && Sentencias().isEmpty() && !d.DocumentoListo());
        // Then the page, and what was held behind it, in the dialog's own loop.
        EXPECT_TRUE(mostrada.wait(20000));
        d.WebBrowser1().setTimeout(5000);
        QTestEventLoop::instance().enterLoopMSecs(300);
        EXPECT_EQ(Valor("SELECT Estado FROM Documentos WHERE Folio = 'D-1'"), limite == 1 ? "PE" : "AU");
    }
    EXPECT_TRUE(g.mensajes.isEmpty()) << g.mensajes.value(0).mensaje.toStdString();
}

// With the next document opening by itself, a second press, or a held key,
// meant for the document just decided never decides the one that follows.
TEST_P(PruebaLectura, UnaTeclaRepetidaOMantenidaNoDecideElDocumentoSiguiente)
{
    CrearDocumentos();
    Iniciar();
    frmRM640& forma = AbrirBandeja();
    forma.lvInsidencias(0).setSelectedIndex(0);
    AlAbrirseDialogo([&](frmAutorizacion& d) {
        d.chkAbrirSiguiente().setChecked(true);
        QWidget* pagina = d.WebBrowser1().focusProxy();
        QTest::keyClick(pagina, Qt::Key_A, Qt::AltModifier);
        // Pressed again at once, soon after, and held long after.
        for (const auto& [espera, mantenida] : {std::pair{0, false}, {60, false}, {100, false}, {1000, true}}) {
            QTestEventLoop::instance().enterLoopMSecs(espera + 1);
            QKeyEvent otra(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier, "a", mantenida);
            QApplication::sendEvent(pagina, &otra);
        }
        QTestEventLoop::instance().enterLoopMSecs(1500);
        EXPECT_TRUE(d.isVisible() && d.Folio() == "D-2") << d.Folio().toStdString();
        d.cmdCancelar_Click();
    });
    emit forma.lvInsidencias(0).DblClick();
    QStringList estados;
    for (const char* folio : {"D-1", "D-2", "D-3"})
        estados << Valor(QStringLiteral("SELECT Estado FROM Documentos WHERE Folio = '%1'").arg(folio));
    EXPECT_EQ(estados, (QStringList{"AU", "PE", "PE"}));
}

INSTANTIATE_TEST_SUITE_P(Bases, PruebaLectura, ::testing::Values(false, true), NombreDeBase);
