#include "host/controles/Controles.h"
#include "host/controles/ListView.h"
#include "host/controles/SSTab.h"
#include "host/controles/Twips.h"
#include "host/datos/ErrorRm.h"

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

// Forms lay their controls out in twips and rely on the toolbar's access keys.
TEST(Controles, TeclasDeAccesoYAnchoEnTwips)
{
    Controles barra;
    barra.setModoCatalogo(true);
    barra.setEasyaccessenabled(QStringLiteral("SI"));
    auto* nuevo = barra.findChild<QToolButton*>(QStringLiteral("cmdNuevo"));
    ASSERT_NE(nuevo, nullptr);
    EXPECT_EQ(nuevo->text(), QStringLiteral("&Nuevo"));
    barra.setCaptionbuttonsize(1500);
    EXPECT_EQ(nuevo->minimumWidth(), 100);
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
