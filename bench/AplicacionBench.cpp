#include "AplicacionBench.h"

#include "basedatos/DatosDemo.h"
#include "host/datos/Conexion.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/TablaClases.h"
#include "host/servicios/Utilerias.h"
#include "servicios/Mensajero.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/SistemaOrvinda.h"
#include "servicios/UtileriasOrvinda.h"

#include <QSqlDatabase>
#include <memory>

#include <unistd.h>

AplicacionBench::AplicacionBench(int& argc, char** argv)
    : QApplication(Preparar(argc), argv)
{
}

int& AplicacionBench::Preparar(int& argc)
{
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Before the engine starts, as in the shell.
    orvinda::ServidorPaginas::RegistrarEsquema();
    return argc;
}

void AplicacionBench::RegistrarServicios(orvinda::Conexion& conexion, orvinda::Mensajero& mensajero)
{
    orvinda::Conexion* c = &conexion;
    orvinda::Mensajero* m = &mensajero;
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Sistema::IdPrograma), [=] {
        return std::make_unique<orvinda::SistemaOrvinda>(*c, *m, QStringLiteral("GCOMPRAS"), 4);
    });
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Utilerias::IdPrograma), [=] {
        return std::make_unique<orvinda::UtileriasOrvinda>(*c, QStringLiteral("GCOMPRAS"));
    });
}

std::unique_ptr<orvinda::Conexion> AplicacionBench::AbrirDemo(const QString& archivo, orvinda::Mensajero& mensajero)
{
    std::unique_ptr<orvinda::Conexion> conexion = orvinda::Conexion::Abrir(archivo);
    QSqlDatabase db = conexion->BaseDatos();
    orvinda::DatosDemo::Cargar(db);
    RegistrarServicios(*conexion, mensajero);
    return conexion;
}
