#include "host/controles/ComparacionTexto.h"
#include "host/controles/Controles.h"
#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/controles/SSTab.h"
#include "host/controles/Twips.h"
#include "host/errores/ErrorRm.h"

#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <cmath>
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

// The age of a row is the whole days from its first date column to the
// server's date; past the threshold, or "Urgente", the row is marked.
TEST(ModeloLista, EdadesContraLaFechaDelServidorYMarcas)
{
    struct Caso
    {
        QDate hoy;
        const char* fecha;
        int edad;
        const char* ayuda;
        bool marcada;
    };
    const QDate diciembre(2026, 12, 6), marzo(2028, 3, 1);
    for (const Caso& c : {Caso{diciembre, "06/12/2026", 0, "hoy", false},
                          {diciembre, "05/12/2026", 1, "hace 1 día", false},
                          {diciembre, "29/11/2026", 7, "hace 7 días", false}, // the threshold itself
                          {diciembre, "28/11/2026", 8, "hace 8 días", true},
                          {diciembre, "2026-10-26 17:45", 41, "hace 41 días", true},
                          {marzo, "29/02/2028", 1, "hace 1 día", false}, // a leap day
                          {marzo, "2028-02-28T23:59:59", 2, "hace 2 días", false},
                          {QDate(2029, 3, 1), "29/02/2028", 366, "hace 366 días", true},
                          {diciembre, "07/12/2026", -1, "", false}, // after the server's date
                          {diciembre, "", -1, "", false}}) {
        ListView lista;
        for (const char* col : {"Folio", "Fecha", "Prioridad"})
            lista.ColumnHeadersAdd(col);
        lista.ListItemsAdd("A", {"01/01/2026", "Normal"});
        lista.ListItemsAdd("B", {c.fecha, "Normal"});
        ModeloLista& m = lista.Modelo();
        m.setFechaReferencia(c.hoy);
        const QModelIndex celda = m.index(1, 1);
        EXPECT_EQ(m.Edad(1), c.edad) << c.fecha;
        EXPECT_EQ(celda.data(Qt::ToolTipRole).toString(), QString::fromUtf8(c.ayuda)) << c.fecha;
        EXPECT_EQ(m.Atrasada(1), c.marcada) << c.fecha;
        // Marked by colour and by a sign beside the first cell, described in words.
        EXPECT_EQ(m.index(1, 2).data(Qt::ForegroundRole).isValid(), c.marcada) << c.fecha;
        const auto signo = [&](int fila) { return m.index(fila, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey(); };
        EXPECT_EQ(signo(1) == signo(0), c.marcada) << c.fecha; // row A is late on every date
        EXPECT_EQ(m.index(1, 0).data(Qt::AccessibleDescriptionRole).toString().startsWith("Atrasado: "), c.marcada) << c.fecha;
        // The oldest of the shown rows.
        EXPECT_EQ(m.EdadMayor(), std::max<int>(c.hoy.toJulianDay() - QDate(2026, 1, 1).toJulianDay(), c.edad)) << c.fecha;
    }

    // "Urgente" in the priority column marks the row whatever its age; the
    // threshold is the parameter's; the colour reads at 4.5:1 on the rows.
    ListView lista;
    for (const char* col : {"Folio", "Fecha", "prioridad"})
        lista.ColumnHeadersAdd(col);
    lista.ListItemsAdd("A", {"06/12/2026", " URGENTE "});
    lista.ListItemsAdd("B", {"26/11/2026", "Normal"});
    ModeloLista& m = lista.Modelo();
    m.setFechaReferencia(diciembre);
    EXPECT_TRUE(m.Urgente(0) && m.Marcada(0) && !m.Atrasada(0) && m.Atrasada(1));
    m.setDiasAtraso(10);
    EXPECT_FALSE(m.Marcada(1));
    EXPECT_EQ(m.index(0, 0).data(Qt::ToolTipRole).toString(), "Urgente");
    const auto luminancia = [](const QColor& c) {
        const auto lineal = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lineal(c.redF()) + 0.7152 * lineal(c.greenF()) + 0.0722 * lineal(c.blueF());
    };
    for (const QColor& fondo : {lista.palette().color(QPalette::Base), lista.palette().color(QPalette::AlternateBase), QColor(Qt::white)})
        EXPECT_GE((luminancia(fondo) + 0.05) / (luminancia(ModeloLista::ColorMarca()) + 0.05), 4.5) << fondo.name().toStdString();

    // A listing without a date column shows no ages.
    ListView sinFechas;
    sinFechas.ColumnHeadersAdd("Folio");
    sinFechas.ColumnHeadersAdd("Total");
    sinFechas.ListItemsAdd("A", {"150.00"});
    sinFechas.Modelo().setFechaReferencia(diciembre);
    EXPECT_TRUE(sinFechas.Modelo().ColumnaFecha() == -1 && sinFechas.Modelo().Edad(0) == -1 && sinFechas.Modelo().EdadMayor() == -1);
    EXPECT_FALSE(sinFechas.Modelo().index(0, 1).data(Qt::ToolTipRole).isValid());
}

// Names stored decomposed (NFD) and letters beyond Latin-1 match without
// regard to accents or case, typed either way, on both paths of the folding.
TEST(ComparacionTexto, PlegadoDescompuestoYMasAllaDeLatin1)
{
    const QString jose = QString::fromUtf8("Jose\xCC\x81 A\xCC\x81vila"); // NFD, as some systems write it
    struct Caso
    {
        QString celda;
        QString filtro;
        bool coincide;
    };
    for (const Caso& c : {Caso{jose, "josé ávila", true},
                          {jose, "JOSE AVILA", true},
                          {"José Ávila", QString::fromUtf8("jose\xCC\x81"), true},
                          {"Łódź", "lodz", true},
                          {"Łukasz Żak", "ŁUKASZ ZAK", true},
                          {"Ávila Łukasz", "avila lukasz", true}, // starts on the Latin-1 path
                          {"Győr", "gyor", true},
                          {"GYŐR", "győr", true},
                          {"Şahin", "sahin", true},
                          {"Ştefan Ţăran", "stefan taran", true},
                          {"Øresund", "oresund", true},
                          {"Đorđe", "dorde", true},
                          {"Łódź", "lodzz", false},
                          {"Şahin", "sahim", false}}) {
        ListView lista;
        lista.ColumnHeadersAdd("Nombre");
        lista.ListItemsAdd(c.celda);
        lista.ListItemsAdd("otro");
        lista.setFiltro(c.filtro);
        EXPECT_EQ(lista.ListItemsCount() == 1 && lista.ListItemText(0) == c.celda, c.coincide) << c.celda.toStdString() << " / " << c.filtro.toStdString();
    }
    // Composed and decomposed text fold to the same bytes, so they sort together too.
    EXPECT_EQ(ComparacionTexto::Plegar(QString("Árbol").toUtf8()), ComparacionTexto::Plegar(QString::fromUtf8("A\xCC\x81rbol").toUtf8()));
    EXPECT_EQ(ComparacionTexto::Plegar(QString("Łódź").toUtf8()), "lodz");
}

// A sort shows the first row and keeps every selected item selected; Tab
// leaves the list instead of walking its cells.
TEST(ListView, OrdenMuestraLaPrimeraFilaYConservaLaSeleccion)
{
    QWidget ventana;
    auto* lista = new ListView(&ventana);
    auto* siguiente = new QLineEdit(&ventana);
    lista->setGeometry(0, 0, 300, 120);
    siguiente->setGeometry(0, 130, 100, 20);
    lista->setMultiSelect(true);
    lista->ColumnHeadersAdd("Folio");
    lista->ColumnHeadersAdd("Total");
    for (int i = 0; i < 60; ++i)
        lista->ListItemsAdd(QStringLiteral("F-%1").arg(i, 2, 10, QChar('0')), {QString::number(1000 - i * 10)});
    ventana.show();
    ventana.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
    lista->setSelectedIndex(50);
    lista->selectionModel()->select(lista->model()->index(52, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_GT(lista->indexAt(QPoint(0, 0)).row(), 0);

    lista->OrdenarPor(1, Qt::DescendingOrder);
    EXPECT_EQ(lista->indexAt(QPoint(1, 1)).row(), 0);
    EXPECT_EQ(lista->ListItemText(0), "F-00");
    EXPECT_EQ(lista->SelectedItems(), (QStringList{"F-50", "F-52"}));
    EXPECT_EQ(lista->SelectedItem(), "F-50");
    EXPECT_TRUE(lista->horizontalHeader()->isSortIndicatorShown() && lista->horizontalHeader()->sortIndicatorSection() == 1);

    lista->setFocus();
    QTest::keyClick(lista, Qt::Key_Down);
    EXPECT_EQ(lista->SelectedItem(), "F-51");
    // Ctrl+End and Ctrl+Home select the row they reach, as Enter opens the selected one.
    QTest::keyClick(lista, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(lista->SelectedItems(), QStringList{"F-59"});
    QTest::keyClick(lista, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(lista->SelectedItems(), QStringList{"F-00"});
    // The list's menu sorts from the keyboard: by Total again, now the other way.
    QTest::keyClick(lista, Qt::Key_F10, Qt::ShiftModifier);
    auto* ordenar = lista->findChild<QMenu*>("mnuOrdenar");
    ASSERT_NE(ordenar, nullptr);
    EXPECT_EQ(ordenar->actions().value(1)->text(), "Ordenar por Total (ascendente)");
    ordenar->actions().value(1)->trigger();
    EXPECT_EQ(lista->ListItemText(0), "F-59");
    ordenar->close();
    QTest::keyClick(lista, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), siguiente);
}
