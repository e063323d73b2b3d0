// Every window of the product, as a reviewer or an author meets it on the
// demo database: each interactive control has a name for assistive
// technology, Tab reaches every command, and each window fits the screen it
// opens on, at 1024 x 768 and at a 2x scale on 1600 x 1000.
#include "comun/EntornoPrueba.h"
#include "config/ConfiguracionAutorizacion.h"
#include "editor/frmBuscarConfiguracion.h"
#include "editor/frmConfiguracion.h"
#include "editor/frmEnsayo.h"
#include "host/controles/txtVEX.h"
#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "review/frmAutorizacion.h"
#include "review/frmRechazar.h"
#include "servicios/ServidorPaginas.h"
#include "shell/VentanaContenedora.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

namespace {

// Set in the child processes of the screen test: the screen they were given.
const char* const VariablePantalla = "RM640_PRUEBA_PANTALLA";

class PruebaVentanas : public EntornoPrueba
{
protected:
    void SetUp() override
    {
        EntornoPrueba::SetUp();
        CargarDemo();
        orvinda::ServidorPaginas::Instalar();
        g.parametros["GEN_URL"] = "orvinda://web";
        g.parametros["FTO_CONFIGURACION_AUTORIZACION"] = "0000";
        rm640::Publico::Main();
    }

    void TearDown() override
    {
        delete ensayo.data();
        delete buscar.data();
        delete contenedor.data();
        EntornoPrueba::TearDown();
    }

    // Every window, shown, in the order a session meets them.
    QList<std::pair<QString, QWidget*>> Ventanas()
    {
        QList<std::pair<QString, QWidget*>> v;
        // The inbox, in the shell's window.
        contenedor = new orvinda::VentanaContenedora("RM640");
        rm640::frmRM640& bandeja = rm640::frmRM640::Instancia();
        bandeja.setPadre(contenedor);
        contenedor->Alojar(&bandeja);
        contenedor->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return bandeja.Cargado(); }, 20000));
        v.append({"bandeja", contenedor});

        // The editor on a configuration, its list of configurations and Probar.
        rm640::frmConfiguracion& editor = rm640::frmConfiguracion::Instancia();
        editor.Cargar();
        editor.txtClave().setTexto("0001");
        editor.txtClave_Enter();
        editor.show();
        v.append({"editor", &editor});
        buscar = new rm640::frmBuscarConfiguracion(&editor);
        buscar->Cargar();
        buscar->show();
        v.append({"buscar", buscar});
        ensayo = new rm640::frmEnsayo(editor.ConfiguracionEnPantalla(), &editor);
        ensayo->show();
        v.append({"ensayo", ensayo});

        // The review of a document and the rejection's comment.
        const QString folio = Valor("SELECT MIN(Rq_Folio) FROM Requisiciones_Compra WHERE Rq_Estado = 'PE'");
        v.append({"autorizacion", &MostrarRequisicionDemo(folio)});
        v.append({"rechazo", &MostrarRechazo("REQUISICIONES_COMPRA", folio, "0001", QString())});
        return v;
    }

    QPointer<orvinda::VentanaContenedora> contenedor;
    QPointer<rm640::frmBuscarConfiguracion> buscar;
    QPointer<rm640::frmEnsayo> ensayo;
};

// What a screen reader would have to announce and the user can act on.
bool Interactivo(QAccessible::Role rol)
{
    switch (rol) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::PageTab:
    case QAccessible::PageTabList:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::MenuItem:
    case QAccessible::Link: return true;
    default: return false;
    }
}

QString Describir(QAccessibleInterface* i)
{
    QObject* o = i->object();
    return QStringLiteral("%1 %2 (rol %3)")
        .arg(o ? QString::fromLatin1(o->metaObject()->className()) : QStringLiteral("?"), o ? o->objectName() : QString())
        .arg(static_cast<int>(i->role()));
}

// Every shown interactive element without a name, walked through QAccessible.
QStringList SinNombre(QWidget& ventana)
{
    QStringList faltan;
    int vistos = 0;
    std::function<void(QAccessibleInterface*)> recorrer = [&](QAccessibleInterface* i) {
        if (!i || !i->isValid() || i->state().invisible)
            return;
        ++vistos;
        if (Interactivo(i->role()) && i->text(QAccessible::Name).trimmed().isEmpty())
            faltan << Describir(i);
        // RM640_VER_NOMBRES=1 lists what a screen reader would read.
        if (qEnvironmentVariableIsSet("RM640_VER_NOMBRES") && Interactivo(i->role()))
            std::printf("%s: %s\n", qPrintable(Describir(i)), qPrintable(i->text(QAccessible::Name)));
        // The cells of a list speak their text; a page speaks the document's own tree.
        const QAccessible::Role rol = i->role();
        if (rol == QAccessible::Table || rol == QAccessible::List || rol == QAccessible::Tree)
            return;
        if (i->object() && i->object()->inherits("QWebEngineView"))
            return;
        for (int k = 0; k < i->childCount(); ++k)
            recorrer(i->child(k));
    };
    recorrer(QAccessible::queryAccessibleInterface(&ventana));
    if (vistos < 3)
        faltan << QStringLiteral("(no se recorrió la ventana)");
    return faltan;
}

// Buttons a keyboard user must reach with Tab: every one shown and enabled,
// but the tab strip's scroll arrows (Ctrl+Tab and Alt+digit do their work)
// and a text box's clear button (Esc does, in the inbox's filter).
QStringList SinTab(QWidget& ventana)
{
    QStringList faltan;
    for (QAbstractButton* b : ventana.findChildren<QAbstractButton*>()) {
        if (b->window() != &ventana || !b->isVisibleTo(&ventana) || !b->isEnabled() || qobject_cast<QTabBar*>(b->parentWidget())
            || qobject_cast<QLineEdit*>(b->parentWidget()))
            continue;
        if (!(b->focusPolicy() & Qt::TabFocus))
            faltan << QStringLiteral("%1 %2").arg(QString::fromLatin1(b->metaObject()->className()), b->objectName());
    }
    return faltan;
}

} // namespace

TEST_F(PruebaVentanas, CadaControlInteractivoTieneNombreYCadaComandoSeAlcanzaConTab)
{
    for (auto [nombre, ventana] : Ventanas()) {
        ventana->activateWindow();
        QApplication::processEvents();
        EXPECT_EQ(SinNombre(*ventana), QStringList()) << nombre.toStdString();
        EXPECT_EQ(SinTab(*ventana), QStringList()) << nombre.toStdString();
    }
    // The inbox's tabs: the caption as the Part writes it, the count in the name.
    auto& bandeja = rm640::frmRM640::Instancia();
    QTabBar* pestanias = bandeja.findChild<QTabBar*>();
    ASSERT_TRUE(pestanias);
    EXPECT_EQ(pestanias->tabText(0), "&1Requisiciones de compra");
    QAccessibleInterface* pestania = QAccessible::queryAccessibleInterface(pestanias)->child(0);
    ASSERT_TRUE(pestania);
    EXPECT_TRUE(pestania->text(QAccessible::Name).startsWith("Requisiciones de compra (Alt+1): 120 documentos, el más antiguo de hace "))
        << pestania->text(QAccessible::Name).toStdString();
    // Filtered, every tab still fits at the inbox's width: the counts give
    // way, the captions and the tabs' names stay whole.
    bandeja.txtFiltro().setText("a");
    ASSERT_TRUE(QTest::qWaitFor([&] { return pestania->text(QAccessible::Name).contains(" de 120 documentos, el más antiguo de hace "); }));
    QApplication::processEvents();
    EXPECT_LE(pestanias->sizeHint().width(), pestanias->parentWidget()->width()) << bandeja.width();
    for (auto* flecha : pestanias->findChildren<QToolButton*>())
        EXPECT_FALSE(flecha->isVisible());
    EXPECT_EQ(pestanias->tabText(0), "&1Requisiciones de compra");
    EXPECT_EQ(pestanias->tabButton(0, QTabBar::RightSide)->toolTip(), bandeja.CuentaPestania(0));
    // Each field of the editor is named by its label, which is its buddy.
    auto& editor = rm640::frmConfiguracion::Instancia();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&editor.txtClave())->text(QAccessible::Name), "Clave");
    for (auto* etiqueta : editor.findChildren<QLabel*>())
        if (etiqueta->buddy())
            EXPECT_FALSE(etiqueta->buddy()->accessibleName().isEmpty()) << etiqueta->objectName().toStdString();
}

// Runs in the child processes of CadaVentanaCabeEnLaPantalla, one per screen.
TEST_F(PruebaVentanas, VentanasDentroDeLaPantalla)
{
    if (!qEnvironmentVariableIsSet(VariablePantalla))
        GTEST_SKIP() << "corre en los procesos hijos de CadaVentanaCabeEnLaPantalla";
    const QRect zona = QGuiApplication::primaryScreen()->availableGeometry();
    std::printf("pantalla %s: %d x %d logicos\n", qgetenv(VariablePantalla).constData(), zona.width(), zona.height());
    for (auto [nombre, ventana] : Ventanas()) {
        QApplication::processEvents();
        EXPECT_TRUE(zona.contains(ventana->frameGeometry()))
            << nombre.toStdString() << ": " << ventana->frameGeometry().width() << "x" << ventana->frameGeometry().height() << "+"
            << ventana->frameGeometry().x() << "+" << ventana->frameGeometry().y();
        // Its commands are in sight, not cut off at the window's edge.
        for (QAbstractButton* b : ventana->findChildren<QAbstractButton*>()) {
            if (b->window() != ventana || !b->isVisible() || qobject_cast<QTabBar*>(b->parentWidget()) || qobject_cast<QLineEdit*>(b->parentWidget()))
                continue;
            const QRect donde(b->mapTo(ventana, QPoint(0, 0)), b->size());
            EXPECT_TRUE(ventana->rect().contains(donde)) << nombre.toStdString() << " " << b->objectName().toStdString() << " " << b->text().toStdString();
        }
    }
}

TEST(PruebaPantallas, CadaVentanaCabeEnLaPantalla)
{
    if (qEnvironmentVariableIsSet(VariablePantalla))
        GTEST_SKIP();
    QTemporaryDir carpeta;
    ASSERT_TRUE(carpeta.isValid());
    struct Pantalla
    {
        const char* nombre;
        int ancho, alto;
        const char* escala;
    };
    for (const Pantalla& p : {Pantalla{"1024x768", 1024, 768, "1"}, {"1600x1000 a 2x", 1600, 1000, "2"}}) {
        // The offscreen platform takes its screens from a file.
        const QString configuracion = carpeta.filePath(QStringLiteral("pantalla-%1.json").arg(p.ancho));
        QFile archivo(configuracion);
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
        const QJsonObject pantalla{{"name", "prueba"},     {"x", 0},  {"y", 0}, {"width", p.ancho}, {"height", p.alto}, {"logicalDpi", 96},
                                   {"logicalBaseDpi", 96}, {"dpr", 1}};
        archivo.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{pantalla}}}).toJson());
        archivo.close();

        QProcess hijo;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + configuracion);
        entorno.insert("QT_SCALE_FACTOR", p.escala);
        entorno.insert(VariablePantalla, p.nombre);
        hijo.setProcessEnvironment(entorno);
        hijo.setProcessChannelMode(QProcess::MergedChannels);
        hijo.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=PruebaVentanas.VentanasDentroDeLaPantalla"});
        ASSERT_TRUE(hijo.waitForFinished(180000)) << p.nombre;
        const QString salida = QString::fromUtf8(hijo.readAll());
        EXPECT_TRUE(hijo.exitStatus() == QProcess::NormalExit && hijo.exitCode() == 0) << p.nombre << "\n" << salida.toStdString();
        // The child saw the screen it was given, in logical pixels.
        const int factor = QByteArray(p.escala).toInt();
        EXPECT_TRUE(salida.contains(QStringLiteral("%1 x %2 logicos").arg(p.ancho / factor).arg(p.alto / factor))) << salida.toStdString();
        EXPECT_TRUE(salida.contains("[  PASSED  ] 1 test")) << salida.toStdString();
    }
}
