#include "host/controles/Controles.h"
#include "host/controles/Etiqueta.h"
#include "host/controles/ListView.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/SSTab.h"
#include "host/controles/Shape.h"
#include "host/controles/Twips.h"
#include "host/controles/colorVEX.h"
#include "host/controles/txtVEX.h"
#include "host/datos/ErrorRm.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace orvinda;

namespace {

QToolButton* Boton(Controles& barra, const char* nombre)
{
    auto* b = barra.findChild<QToolButton*>(QLatin1String(nombre));
    EXPECT_NE(b, nullptr) << nombre;
    return b;
}

// Names of the buttons that are shown and enabled, in a fixed order.
QStringList Disponibles(Controles& barra)
{
    QStringList nombres;
    for (const char* n : {"cmdNuevo", "cmdModificar", "cmdGuardar", "cmdCancelar", "cmdEliminar",
                          "cmdReactivar", "cmdInformacion", "cmdExtra", "cmdSalir"}) {
        QToolButton* b = Boton(barra, n);
        if (b && !b->isHidden() && b->isEnabled())
            nombres << QString::fromLatin1(n);
    }
    return nombres;
}

bool MostrarYActivar(QWidget& ventana)
{
    ventana.show();
    ventana.activateWindow();
    return QTest::qWaitForWindowActive(&ventana);
}

} // namespace

TEST(Twips, ConversionesYTamanosNegativos)
{
    EXPECT_EQ(Twips::APixeles(15), 1);
    EXPECT_EQ(Twips::APixeles(22), 1);
    EXPECT_EQ(Twips::APixeles(23), 2);
    EXPECT_EQ(Twips::APixeles(-120), -8);
    EXPECT_EQ(Twips::DesdePixeles(886), 13290);

    QWidget padre;
    QWidget w(&padre);
    Twips::Mover(&w, 120, 1080, 12975, 5775);
    EXPECT_EQ(w.geometry(), QRect(8, 72, 865, 385));

    // Values that fall between pixels read back exactly as written.
    Twips::SetHeight(&w, 6335);
    EXPECT_EQ(w.height(), 422);
    EXPECT_EQ(Twips::Height(&w), 6335);
    EXPECT_EQ(Twips::Width(&w), 12975);

    // Once Qt resizes the widget, its pixels count.
    w.resize(100, 50);
    EXPECT_EQ(Twips::Width(&w), 1500);

    // A negative size is refused and changes nothing; a negative position is fine.
    try {
        Twips::SetWidth(&w, -1);
        FAIL() << "negative width accepted";
    } catch (const ErrorRm& e) {
        EXPECT_EQ(e.Numero(), 380);
    }
    EXPECT_THROW(Twips::Mover(&w, 0, 0, 300, -300), ErrorRm);
    EXPECT_EQ(w.size(), QSize(100, 50));
    Twips::SetLeft(&w, -300);
    EXPECT_EQ(w.x(), -20);
    EXPECT_EQ(Twips::Left(&w), -300);
}

TEST(Controles, ModosDeUnCatalogo)
{
    Controles barra;
    barra.setModoCatalogo(true);
    barra.setTextoBotonExtra(QStringLiteral("Copiar"));

    QStringList eventos;
    QList<bool> esNuevo;
    for (auto [senal, nombre] : {std::pair{&Controles::Nuevo, "Nuevo"}, {&Controles::Modificar, "Modificar"},
                                 {&Controles::Cancelar, "Cancelar"}, {&Controles::Eliminar, "Eliminar"},
                                 {&Controles::Reactivar, "Reactivar"}, {&Controles::Informacion, "Informacion"},
                                 {&Controles::BotonExtra, "BotonExtra"}, {&Controles::Salir, "Salir"}}) {
        QObject::connect(&barra, senal, [&eventos, nombre] { eventos << QString::fromLatin1(nombre); });
    }
    // The reference is checked while the signal is delivered: it must be the toolbar's own state.
    QObject::connect(&barra, &Controles::Guardar, [&](bool& nuevo) {
        esNuevo << nuevo;
        EXPECT_TRUE(barra.GuardadoPendiente());
        EXPECT_FALSE(Boton(barra, "cmdGuardar")->isEnabled());
        EXPECT_FALSE(Boton(barra, "cmdCancelar")->isEnabled());
    });

    // Browse: record commands only as far as the form allows them.
    EXPECT_FALSE(barra.EnEdicion());
    EXPECT_EQ(Disponibles(barra), (QStringList{"cmdNuevo", "cmdExtra", "cmdSalir"}));
    barra.setHabilitarModificar(true);
    barra.setHabilitarEliminar(true);
    barra.setHabilitarInformacion(true);
    EXPECT_EQ(Disponibles(barra),
              (QStringList{"cmdNuevo", "cmdModificar", "cmdEliminar", "cmdInformacion", "cmdExtra", "cmdSalir"}));

    // New record: only save and cancel (and exit); a refused save gives the buttons back.
    Boton(barra, "cmdNuevo")->click();
    EXPECT_EQ(eventos, QStringList{"Nuevo"});
    EXPECT_TRUE(barra.EnEdicion());
    EXPECT_EQ(barra.ModoActual(), Controles::Modo::Nuevo);
    EXPECT_EQ(Disponibles(barra), (QStringList{"cmdGuardar", "cmdCancelar", "cmdSalir"}));
    Boton(barra, "cmdGuardar")->click();
    EXPECT_EQ(esNuevo, QList<bool>{true});
    EXPECT_EQ(Disponibles(barra), QStringList{"cmdSalir"});
    Boton(barra, "cmdGuardar")->click(); // disabled: nothing
    EXPECT_EQ(esNuevo.size(), 1);
    barra.RestaurarBotones();
    EXPECT_EQ(barra.ModoActual(), Controles::Modo::Nuevo);
    EXPECT_TRUE(barra.EnEdicion());
    EXPECT_EQ(Disponibles(barra), (QStringList{"cmdGuardar", "cmdCancelar", "cmdSalir"}));

    // A committed save goes back to browse.
    Boton(barra, "cmdGuardar")->click();
    barra.ConfirmarGuardado();
    EXPECT_EQ(esNuevo, (QList<bool>{true, true}));
    EXPECT_FALSE(barra.EnEdicion());
    EXPECT_FALSE(barra.GuardadoPendiente());
    EXPECT_EQ(Disponibles(barra),
              (QStringList{"cmdNuevo", "cmdModificar", "cmdEliminar", "cmdInformacion", "cmdExtra", "cmdSalir"}));

    // Editing saves as an existing record; cancelling returns to browse.
    eventos.clear();
    Boton(barra, "cmdModificar")->click();
    EXPECT_EQ(barra.ModoActual(), Controles::Modo::Edicion);
    Boton(barra, "cmdGuardar")->click();
    EXPECT_EQ(esNuevo.last(), false);
    barra.RestaurarBotones();
    EXPECT_EQ(barra.ModoActual(), Controles::Modo::Edicion);
    bool enEdicionAlCancelar = true;
    QObject::connect(&barra, &Controles::Cancelar, [&] { enEdicionAlCancelar = barra.EnEdicion(); });
    Boton(barra, "cmdCancelar")->click();
    EXPECT_FALSE(enEdicionAlCancelar);
    EXPECT_EQ(barra.ModoActual(), Controles::Modo::Consulta);
    Boton(barra, "cmdEliminar")->click();
    Boton(barra, "cmdInformacion")->click();
    Boton(barra, "cmdReactivar")->click(); // not enabled
    Boton(barra, "cmdSalir")->click();
    EXPECT_EQ(eventos, (QStringList{"Modificar", "Cancelar", "Eliminar", "Informacion", "Salir"}));
}

TEST(Controles, BotonExtraSalirYEjecutarNuevo)
{
    Controles barra;
    // Not a catalogue: caption, extra and exit only.
    EXPECT_EQ(Disponibles(barra), QStringList{"cmdSalir"});
    EXPECT_TRUE(Boton(barra, "cmdExtra")->isHidden());
    barra.setTextoBotonExtra(QStringLiteral("Configuración"));
    EXPECT_EQ(Disponibles(barra), (QStringList{"cmdExtra", "cmdSalir"}));
    QSignalSpy extra(&barra, &Controles::BotonExtra);
    Boton(barra, "cmdExtra")->click();
    EXPECT_EQ(extra.count(), 1);
    barra.setTextoBotonExtra(QString());
    EXPECT_TRUE(Boton(barra, "cmdExtra")->isHidden());

    barra.setShowexitbutton(QStringLiteral("NO"));
    EXPECT_TRUE(Boton(barra, "cmdSalir")->isHidden());
    barra.setShowexitbutton(QStringLiteral("SI"));
    QSignalSpy salir(&barra, &Controles::Salir);
    Boton(barra, "cmdSalir")->click();
    EXPECT_EQ(salir.count(), 1);

    // EjecutarNuevo acts as the button: new mode, Nuevo raised once, extra hidden.
    barra.setModoCatalogo(true);
    barra.setTextoBotonExtra(QStringLiteral("Copiar"));
    QSignalSpy nuevo(&barra, &Controles::Nuevo);
    bool enEdicionAlAvisar = false;
    QObject::connect(&barra, &Controles::Nuevo, [&] { enEdicionAlAvisar = barra.EnEdicion(); });
    barra.EjecutarNuevo(false);
    EXPECT_EQ(nuevo.count(), 1);
    EXPECT_TRUE(enEdicionAlAvisar);
    EXPECT_EQ(barra.ModoActual(), Controles::Modo::Nuevo);
    EXPECT_TRUE(Boton(barra, "cmdExtra")->isHidden());
    // Over a pending edit only when forced.
    barra.EjecutarNuevo(false);
    EXPECT_EQ(nuevo.count(), 1);
    barra.EjecutarNuevo(true);
    EXPECT_EQ(nuevo.count(), 2);

    // Activation keeps the mode unless asked to start over.
    barra.ActivarBarra(false);
    EXPECT_TRUE(barra.EnEdicion());
    barra.ActivarBarra(true);
    EXPECT_FALSE(barra.EnEdicion());
    EXPECT_FALSE(Boton(barra, "cmdExtra")->isHidden());

    // Access keys on request.
    barra.setEasyaccessenabled(QStringLiteral("SI"));
    EXPECT_EQ(Boton(barra, "cmdNuevo")->text(), QStringLiteral("&Nuevo"));
    barra.setCaptionbuttonsize(1500);
    EXPECT_EQ(Boton(barra, "cmdNuevo")->minimumWidth(), 100);
}

TEST(txtVEX, EventosYPropiedades)
{
    QWidget ventana;
    auto* layout = new QVBoxLayout(&ventana);
    auto* campo = new txtVEX;
    auto* siguiente = new txtVEX;
    auto* tercero = new txtVEX;
    layout->addWidget(campo);
    layout->addWidget(siguiente);
    layout->addWidget(tercero);
    ASSERT_TRUE(MostrarYActivar(ventana));

    QSignalSpy cambio(campo, &txtVEX::Cambio);
    QSignalSpy enter(campo, &txtVEX::Enter);
    campo->setFocus();
    QTest::keyClicks(campo, QStringLiteral("ab"));
    EXPECT_EQ(cambio.count(), 2);
    campo->setTexto(QStringLiteral("xyz"));
    EXPECT_EQ(cambio.count(), 3);
    campo->setTexto(QStringLiteral("xyz")); // same text: no change
    EXPECT_EQ(cambio.count(), 3);
    campo->setValor(QVariant());
    EXPECT_EQ(campo->Texto(), QString());

    // Without tabonenter, Enter raises the event and the focus stays.
    QTest::keyClick(campo, Qt::Key_Return);
    EXPECT_EQ(enter.count(), 1);
    EXPECT_TRUE(campo->hasFocus());
    // With it, the event comes first and the focus moves on, skipping a read-only field.
    campo->setTabonenter(true);
    siguiente->setHabilitado(false);
    bool focoAlAvisar = false;
    QObject::connect(campo, &txtVEX::Enter, [&] { focoAlAvisar = campo->hasFocus(); });
    QTest::keyClick(campo, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(enter.count(), 2);
    EXPECT_TRUE(focoAlAvisar);
    EXPECT_TRUE(tercero->hasFocus());

    // A read-only field keeps its text against typing and shows the disabled colour.
    siguiente->setTexto(QStringLiteral("fijo"));
    siguiente->setFocus();
    QTest::keyClicks(siguiente, QStringLiteral("zz"));
    EXPECT_EQ(siguiente->Texto(), QStringLiteral("fijo"));
    EXPECT_EQ(siguiente->palette().color(QPalette::Base), QColor(224, 224, 224));

    // Upper case for typed and assigned text; the length limit for typed text.
    campo->setFocus();
    campo->setMayusculas(true);
    campo->setMaxlength(10);
    campo->setTexto(QStringLiteral("config"));
    EXPECT_EQ(campo->Texto(), QStringLiteral("CONFIG"));
    campo->insert(QStringLiteral("ñ"));
    QTest::keyClicks(campo, QStringLiteral("abcdefg"));
    EXPECT_EQ(campo->Texto(), QStringLiteral("CONFIGÑABC"));
    campo->setMaxlength(0); // no limit
    QTest::keyClicks(campo, QStringLiteral("x"));
    EXPECT_EQ(campo->Texto(), QStringLiteral("CONFIGÑABCX"));

    // Digit masks pad whole numbers only.
    campo->setFormato(QStringLiteral("0000"));
    for (auto [entrada, salida] : {std::pair{"5", "0005"}, {"0012", "0012"}, {"00007", "0007"},
                                   {"12345", "12345"}, {"A5", "A5"}, {"-5", "-5"}, {"", ""}}) {
        campo->setTexto(QString::fromUtf8(entrada));
        campo->AplicarFormato();
        EXPECT_EQ(campo->Texto(), QString::fromUtf8(salida)) << entrada;
    }

    // Focus colour while focused, enabled colour otherwise.
    campo->setFocuscolor(QColor(245, 236, 203));
    campo->setFocus();
    EXPECT_EQ(campo->palette().color(QPalette::Base), QColor(245, 236, 203));
    tercero->setFocus();
    EXPECT_EQ(campo->palette().color(QPalette::Base), QColor(255, 255, 255));
}

TEST(colorVEX, AplicaAControlesCargadosDespues)
{
    QWidget forma;
    auto* esquema = new colorVEX(&forma);
    esquema->setProperty("enablecolor", QColor(250, 250, 250));
    esquema->setProperty("disablecolor", QColor(200, 200, 200));

    auto* barra = new Controles(&forma);
    auto* primero = new txtVEX(&forma);
    auto* propio = new txtVEX(&forma);
    propio->setEnabledcolor(QColor(1, 2, 3));
    esquema->AplicarColores();
    EXPECT_EQ(forma.palette().color(QPalette::Window), QColor(245, 245, 245));
    EXPECT_EQ(barra->palette().color(QPalette::Window), QColor(179, 204, 221));
    EXPECT_EQ(primero->palette().color(QPalette::Base), QColor(250, 250, 250));
    EXPECT_EQ(propio->palette().color(QPalette::Base), QColor(1, 2, 3));

    // Controls loaded afterwards take the scheme at the next call.
    auto* pagina = new QWidget(&forma);
    auto* tarde = new txtVEX(pagina);
    tarde->setHabilitado(false);
    auto* etiqueta = new Etiqueta(pagina);
    etiqueta->setFontsize(14);
    auto* lista = new ListView(pagina);
    auto* caja = new RichTextBox(pagina);
    caja->setEnabled(false);
    EXPECT_EQ(tarde->palette().color(QPalette::Base), QColor(224, 224, 224));
    esquema->AplicarColores();
    EXPECT_EQ(tarde->palette().color(QPalette::Base), QColor(200, 200, 200));
    EXPECT_DOUBLE_EQ(etiqueta->fontsize(), 8.25);
    EXPECT_EQ(lista->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(caja->palette().color(QPalette::Disabled, QPalette::Base), QColor(200, 200, 200));
    caja->setEnabled(true);
    EXPECT_EQ(caja->palette().color(QPalette::Base), QColor(250, 250, 250));
}

TEST(SSTab, PestaniasTitulosYTeclasDeAcceso)
{
    QWidget ventana;
    ventana.resize(600, 400);
    auto* tab = new SSTab(&ventana);
    Twips::Mover(tab, 120, 1080, 6000, 4500);
    tab->setTabCaption(0, QStringLiteral("&1Requisiciones"));
    tab->setTabs(3);
    tab->setTabCaption(1, QStringLiteral("&2Órdenes"));
    tab->setTabCaption(2, QStringLiteral("&3Gastos"));
    EXPECT_THROW(tab->setTabCaption(3, QStringLiteral("x")), ErrorRm);
    EXPECT_THROW(tab->setTab(3), ErrorRm);
    EXPECT_THROW(tab->setTabs(0), ErrorRm);

    // Controls on a tab are placed from the control's own top-left corner.
    auto* marco = new QWidget(tab->Pagina(1));
    Twips::Mover(marco, 0, 540, 3000, 1500);
    ASSERT_TRUE(MostrarYActivar(ventana));
    tab->setTab(1);
    EXPECT_EQ(marco->mapTo(tab, QPoint(0, 0)), QPoint(0, 36));

    // Alt with the digit after "&" selects the tab.
    QTest::keyClick(&ventana, Qt::Key_3, Qt::AltModifier);
    EXPECT_EQ(tab->Tab(), 2);
    QTest::keyClick(&ventana, Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(tab->Tab(), 0);
    QTest::keyClick(&ventana, Qt::Key_2, Qt::AltModifier);
    EXPECT_EQ(tab->Tab(), 1);

    // Shrinking deletes the last tabs with their controls.
    QPointer<QWidget> vigilado(marco);
    tab->setTabs(1);
    EXPECT_EQ(tab->count(), 1);
    EXPECT_TRUE(vigilado.isNull());
    EXPECT_EQ(tab->TabCaption(0), QStringLiteral("&1Requisiciones"));
    tab->setTabs(2);
    EXPECT_EQ(tab->TabCaption(1), QString());
    EXPECT_NE(tab->Pagina(1), nullptr);
}

// The double click that opens a document is the review test's.
TEST(ListView, ColumnasYElementos)
{
    QWidget ventana;
    auto* lista = new ListView(&ventana);
    lista->resize(400, 200);
    lista->ColumnHeadersAdd(QStringLiteral("Folio"), 1440);
    lista->ColumnHeadersAdd(QStringLiteral("Importe"), 1500);
    EXPECT_EQ(lista->ColumnHeaderWidth(0), 1440); // twips kept exactly through the pixel header
    EXPECT_EQ(lista->SelectedItem(), QString());

    lista->ListItemsAdd(QStringLiteral("RC-001"), {QStringLiteral("150.00")});
    lista->ListItemsAdd(QStringLiteral("RC-002"), {QStringLiteral("99.50")});
    EXPECT_EQ(lista->ListItemsCount(), 2);
    EXPECT_EQ(lista->ListItemText(1, 1), QStringLiteral("99.50"));
    EXPECT_THROW(lista->ListItemText(2), ErrorRm);
    EXPECT_EQ(lista->SelectedItem(), QStringLiteral("RC-001"));

    lista->ListItemsClear();
    EXPECT_EQ(lista->SelectedItem(), QString());
}

TEST(RichTextBox, TabuladorYFoco)
{
    QWidget ventana;
    auto* layout = new QVBoxLayout(&ventana);
    auto* campo = new txtVEX;
    auto* caja = new RichTextBox;
    auto* barra = new Shape; // no tab stop of its own
    layout->addWidget(campo);
    layout->addWidget(caja);
    layout->addWidget(barra);
    ASSERT_TRUE(MostrarYActivar(ventana));

    QSignalSpy entra(caja, &RichTextBox::GotFocus);
    QSignalSpy sale(caja, &RichTextBox::LostFocus);
    caja->setText(QStringLiteral("SELECT 1"));
    caja->setFocus();
    EXPECT_EQ(entra.count(), 1);

    // Another tab stop exists: Tab leaves the field.
    caja->moveCursor(QTextCursor::End);
    QTest::keyClick(caja, Qt::Key_Tab);
    EXPECT_TRUE(campo->hasFocus());
    EXPECT_EQ(sale.count(), 1);
    EXPECT_EQ(caja->Text(), QStringLiteral("SELECT 1"));

    // None left: Tab types a tab character, Shift+Tab does nothing.
    campo->setTabStop(false);
    caja->setFocus();
    QTest::keyClick(caja, Qt::Key_Tab);
    EXPECT_TRUE(caja->hasFocus());
    EXPECT_EQ(caja->Text(), QStringLiteral("SELECT 1\t"));
    QTest::keyClick(caja, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(caja->hasFocus());
    EXPECT_EQ(caja->Text(), QStringLiteral("SELECT 1\t"));
    EXPECT_THROW(caja->setValor(QVariant()), ErrorRm);
}
