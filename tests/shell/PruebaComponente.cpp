#include "comun/EntornoPrueba.h"
#include "comun/SistemaGrabador.h"
#include "comun/UtileriasGrabador.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/CargadorComponentes.h"
#include "host/servicios/FabricaClase.h"
#include "host/servicios/RegistroComponentes.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/TablaClases.h"
#include "host/servicios/Utilerias.h"
#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "shell/Pantalla.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QPointer>
#include <cstdio>
#include <cstdlib>

using namespace orvinda;

namespace {

QString Biblioteca()
{
    return QCoreApplication::applicationDirPath() + "/librm640.so";
}

// A container that answers "Transaccion" by name, as the shell's window does.
class Contenedor : public QObject
{
    Q_OBJECT
public:
    explicit Contenedor(QString t)
        : texto(std::move(t))
    {
    }
    Q_INVOKABLE QString Transaccion() const { return texto; }
    QString texto;
};

} // namespace

using PruebaComponente = EntornoPrueba;

TEST_F(PruebaComponente, LasCuatroExportacionesRegistranYEntreganLaPantalla)
{
    QLibrary lib(Biblioteca());
    ASSERT_TRUE(lib.load()) << lib.errorString().toStdString();
    auto registrar = reinterpret_cast<FuncionDllRegisterServer>(lib.resolve("DllRegisterServer"));
    auto desregistrar = reinterpret_cast<FuncionDllUnregisterServer>(lib.resolve("DllUnregisterServer"));
    auto obtener = reinterpret_cast<FuncionDllGetClassObject>(lib.resolve("DllGetClassObject"));
    auto puedeDescargar = reinterpret_cast<FuncionDllCanUnloadNow>(lib.resolve("DllCanUnloadNow"));
    ASSERT_TRUE(registrar && desregistrar && obtener && puedeDescargar);
    // Nothing else of the component is visible.
    EXPECT_EQ(lib.resolve("_ZN5rm6407Publico4MainEv"), nullptr);

    ASSERT_EQ(registrar(), Hresult::S_Ok);
    const auto entrada = RegistroComponentes::Buscar("RM640.Pantalla");
    ASSERT_TRUE(entrada.has_value() && entrada->clsid == QString::fromLatin1(rm640::Pantalla::Clsid));
    EXPECT_EQ(QFileInfo(entrada->biblioteca).canonicalFilePath(), QFileInfo(Biblioteca()).canonicalFilePath());

    void* p = nullptr;
    EXPECT_TRUE(obtener("{00000000-0000-0000-0000-000000000000}", IID_IClassFactory, &p) == Hresult::ClassE_ClassNotAvailable && p == nullptr);
    EXPECT_EQ(obtener(rm640::Pantalla::Clsid, "IUnknownThing", &p), Hresult::E_NoInterface);
    ASSERT_EQ(obtener(rm640::Pantalla::Clsid, IID_IClassFactory, &p), Hresult::S_Ok);
    auto* fabrica = static_cast<FabricaClase*>(p);
    EXPECT_EQ(puedeDescargar(), Hresult::S_False);

    std::unique_ptr<QObject> pantalla(fabrica->CrearInstancia());
    fabrica->Release();
    ASSERT_TRUE(pantalla);
    QPointer<QObject> forma = pantalla->property("GetPantalla").value<QObject*>();
    ASSERT_TRUE(forma && pantalla->property("GetPantalla").value<QObject*>() == forma.data());
    EXPECT_STREQ(forma->metaObject()->className(), "rm640::frmRM640");
    // The start-up created the two service objects and called nothing on them.
    EXPECT_TRUE(g.llamadas.isEmpty());

    pantalla.reset();
    EXPECT_EQ(puedeDescargar(), Hresult::S_False) << "the inbox form is still alive";
    delete forma.data();
    EXPECT_EQ(puedeDescargar(), Hresult::S_Ok);

    ASSERT_EQ(desregistrar(), Hresult::S_Ok);
    EXPECT_FALSE(RegistroComponentes::Buscar("RM640.Pantalla").has_value());
}

TEST_F(PruebaComponente, ElShellCreaLaPantallaPorSuIdentificadorYCadaFallaSeExplica)
{
    EXPECT_EQ(DescripcionDe([] { CargadorComponentes::CrearObjeto("RM640.Pantalla"); }),
              "El componente no puede crear el objeto: 'RM640.Pantalla' no está registrado.");

    RegistroComponentes::Escribir({"RM640.Pantalla", QString::fromLatin1(rm640::Pantalla::Clsid), carpeta.path() + "/librm640.so"});
    EXPECT_EQ(DescripcionDe([] { CargadorComponentes::CrearObjeto("RM640.Pantalla"); }),
              QStringLiteral("No se encuentra la biblioteca del componente: %1").arg(carpeta.path() + "/librm640.so"));

    const QString sinExportaciones = QCoreApplication::applicationDirPath() + "/liborvinda_errores.so";
    RegistroComponentes::Escribir({"Otro.Componente", "{1}", sinExportaciones});
    EXPECT_EQ(DescripcionDe([] { CargadorComponentes::CrearObjeto("Otro.Componente"); }),
              QStringLiteral("La biblioteca %1 no exporta DllGetClassObject.").arg(sinExportaciones));

    CargadorComponentes::RegistrarBiblioteca(Biblioteca());
    std::unique_ptr<QObject> pantalla = CargadorComponentes::CrearObjeto("RM640.Pantalla");
    QObject* forma = pantalla->property("GetPantalla").value<QObject*>();
    ASSERT_NE(forma, nullptr);
    delete forma;
    pantalla.reset();
    EXPECT_EQ(CargadorComponentes::LiberarBibliotecasSinUso(), 1);
}

TEST_F(PruebaComponente, ElArranqueCreaSistemaYLuegoUtileriasYUnaFallaSePropaga)
{
    std::vector<QString> orden;
    TablaClases::Registrar(QString::fromLatin1(Sistema::IdPrograma), [&]() -> std::unique_ptr<ObjetoServicio> {
        orden.push_back("Sistema");
        return std::make_unique<SistemaGrabador>(g, *conexion);
    });
    TablaClases::Retirar(QString::fromLatin1(Utilerias::IdPrograma));

    EXPECT_EQ(DescripcionDe([] { rm640::Publico::Main(); }), "El componente no puede crear el objeto: la clase 'Orvinda.Utilerias' no está registrada.");
    EXPECT_TRUE(!rm640::Publico::Iniciado() && orden == std::vector<QString>{"Sistema"});

    TablaClases::Registrar(QString::fromLatin1(Utilerias::IdPrograma), [&]() -> std::unique_ptr<ObjetoServicio> {
        orden.push_back("Utilerias");
        return std::make_unique<UtileriasGrabador>(g, *conexion);
    });
    rm640::Publico::Main();
    rm640::Publico::Main();
    EXPECT_TRUE(rm640::Publico::Iniciado() && orden == (std::vector<QString>{"Sistema", "Sistema", "Utilerias"}));
    EXPECT_TRUE(g.llamadas.isEmpty()) << "start-up must not touch the services";
}

TEST_F(PruebaComponente, PadreYTransaccion)
{
    rm640::Publico::Main();
    auto& forma = rm640::frmRM640::Instancia();
    EXPECT_EQ(&rm640::frmRM640::Instancia(), &forma);

    EXPECT_EQ(DescripcionDe([&] { forma.Transaccion(); }), "El objeto Padre de la pantalla no está establecido.");

    Contenedor primero("DN100"), segundo("DN640");
    forma.setProperty("Padre", QVariant::fromValue<QObject*>(&primero));
    forma.setProperty("Padre", QVariant::fromValue<QObject*>(&segundo));

    g.transaccion = "resultado del shell";
    EXPECT_EQ((QStringList{forma.property("Transaccion").toString(), g.llamadas.last()}),
              (QStringList{"resultado del shell", "ObtenerTransaccion(DN640,Orvinda)"}));

    QObject sinMiembro;
    forma.setPadre(&sinMiembro);
    EXPECT_EQ(DescripcionDe([&] { forma.Transaccion(); }), "El objeto no admite esta propiedad o método: Transaccion");
}

// Start-up runs once per loaded library, so this one starts in a process of its own.
TEST_F(PruebaComponente, UnArranqueFallidoNoRetieneLaBiblioteca)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TablaClases::Retirar(QString::fromLatin1(Utilerias::IdPrograma));
            CargadorComponentes::RegistrarBiblioteca(Biblioteca());
            const QString falla = DescripcionDe([] { CargadorComponentes::CrearObjeto("RM640.Pantalla"); });
            std::fprintf(stderr, "%s -> %d\n", qPrintable(falla), CargadorComponentes::LiberarBibliotecasSinUso());
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "la clase 'Orvinda.Utilerias' no está registrada\\. -> 1");
}

#include "PruebaComponente.moc"
