#include "host/controles/Controles.h"
#include "host/controles/ListView.h"
#include "host/controles/SSTab.h"
#include "host/controles/Twips.h"
#include "host/errores/ErrorRm.h"

#include <QHeaderView>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace orvinda;

TEST(Twips, ConversionesYTamanosNegativos)
{
    for (auto [twips, pixeles] : {std::pair{15, 1}, {22, 1}, {23, 2}, {-120, -8}})
        EXPECT_EQ(Twips::APixeles(twips), pixeles) << twips;
    EXPECT_EQ(Twips::DesdePixeles(886), 13290);

    QWidget padre;
    QWidget w(&padre);
    Twips::Mover(&w, 120, 1080, 12975, 5775);
    EXPECT_EQ(w.geometry(), QRect(8, 72, 865, 385));

    // Values that fall between pixels read back exactly as written.
    Twips::SetHeight(&w, 6335);
    EXPECT_EQ(QList<int>({w.height(), Twips::Height(&w), Twips::Width(&w)}), QList<int>({422, 6335, 12975}));

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
    EXPECT_TRUE(w.x() == -20 && Twips::Left(&w) == -300);
}

// Forms lay their controls out in twips and rely on the toolbar's access keys.
TEST(Controles, TeclasDeAccesoYAnchoEnTwips)
{
    Controles barra;
    barra.setModoCatalogo(true);
    barra.setEasyaccessenabled("SI");
    auto* nuevo = barra.findChild<QToolButton*>("cmdNuevo");
    ASSERT_TRUE(nuevo && nuevo->text() == "&Nuevo");
    barra.setCaptionbuttonsize(1500);
    EXPECT_EQ(nuevo->minimumWidth(), 100);
}

TEST(SSTab, PestaniasTitulosYTeclasDeAcceso)
{
    QWidget ventana;
    ventana.resize(600, 400);
    auto* tab = new SSTab(&ventana);
    Twips::Mover(tab, 120, 1080, 6000, 4500);
    tab->setTabCaption(0, "&1Requisiciones");
    tab->setTabs(3);
    tab->setTabCaption(1, "&2Órdenes");
    tab->setTabCaption(2, "&3Gastos");
    EXPECT_THROW(tab->setTabCaption(3, "x"), ErrorRm);
    EXPECT_THROW(tab->setTab(3), ErrorRm);
    EXPECT_THROW(tab->setTabs(0), ErrorRm);

    // Controls on a tab are placed from the control's own top-left corner.
    auto* marco = new QWidget(tab->Pagina(1));
    Twips::Mover(marco, 0, 540, 3000, 1500);
    ventana.show();
    ventana.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
    tab->setTab(1);
    EXPECT_EQ(marco->mapTo(tab, QPoint(0, 0)), QPoint(0, 36));

    // Alt with the digit after "&" selects the tab.
    for (auto [tecla, pestania] : {std::pair{Qt::Key_3, 2}, {Qt::Key_1, 0}, {Qt::Key_2, 1}}) {
        QTest::keyClick(&ventana, tecla, Qt::AltModifier);
        EXPECT_EQ(tab->Tab(), pestania);
    }

    // Shrinking deletes the last tabs with their controls.
    QPointer<QWidget> vigilado(marco);
    tab->setTabs(1);
    EXPECT_TRUE(tab->count() == 1 && vigilado.isNull() && tab->TabCaption(0) == "&1Requisiciones");
    tab->setTabs(2);
    EXPECT_TRUE(tab->TabCaption(1).isEmpty() && tab->Pagina(1));
}

// The double click that opens a document is the review test's.
TEST(ListView, ColumnasYElementos)
{
    QWidget ventana;
    auto* lista = new ListView(&ventana);
    lista->resize(400, 200);
    lista->ColumnHeadersAdd("Folio", 1440);
    lista->ColumnHeadersAdd("Importe", 1500);
    EXPECT_EQ(lista->ColumnHeaderWidth(0), 1440); // twips kept exactly through the pixel header
    EXPECT_EQ(lista->SelectedItem(), QString());

    lista->ListItemsAdd("RC-001", {"150.00"});
    lista->ListItemsAdd("RC-002", {"99.50"});
    EXPECT_TRUE(lista->ListItemsCount() == 2 && lista->ListItemText(1, 1) == "99.50");
    EXPECT_THROW(lista->ListItemText(2), ErrorRm);
    EXPECT_EQ(lista->SelectedItem(), "RC-001");

    lista->ListItemsClear();
    EXPECT_EQ(lista->SelectedItem(), QString());
}

// Sorting reads numbers and dates by value; the filter ignores case and accents.
TEST(ListView, OrdenYFiltroPorValor)
{
    ListView lista;
    for (const char* c : {"Folio", "Importe", "Fecha", "Nombre"})
        lista.ColumnHeadersAdd(c, 1500);
    lista.ListItemsAdd("A", {"$ 1,420.80", "31/01/2026", "JOSÉ Ávila"});
    lista.ListItemsAdd("B", {"99.5", "2026-01-15", "Árbol"});
    lista.ListItemsAdd("C", {"-5", "2025-12-31 23:59", "niño"});
    lista.ListItemsAdd("D", {"23794.1", "2026-12-06T04:35:42", "Zoe"});
    lista.ListItemsAdd("E", {"1000", "2026-02-01", "arbol"});
    lista.setSelectedIndex(3);

    const auto mostrados = [&] {
        QString r;
        for (int i = 0; i < lista.ListItemsCount(); ++i)
            r += lista.ListItemText(i);
        return r;
    };
    struct Caso
    {
        int columna; // header clicked, -1 for none
        const char* filtro;
        const char* esperado;
    };
    for (const Caso& c : {Caso{1, "", "CBEAD"},
                          {1, "", "DAEBC"},
                          {2, "", "CBAED"},
                          {-1, "ARBOL", "BE"},
                          {-1, "jose avila", "A"},
                          {-1, "NIÑO", "C"},
                          {-1, "1,420", "A"},
                          {3, "", "BEACD"}}) {
        lista.setFiltro(c.filtro);
        if (c.columna >= 0)
            QTest::mouseClick(lista.horizontalHeader()->viewport(), Qt::LeftButton, {},
                              QPoint(lista.horizontalHeader()->sectionViewportPosition(c.columna) + 5, 5));
        EXPECT_EQ(mostrados(), c.esperado) << c.columna << c.filtro;
    }
    // Numbers right-aligned; widths survive the sorting.
    EXPECT_EQ(lista.model()->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(lista.ColumnHeaderWidth(2), 1500);
}
