#include "shell/AplicacionShell.h"

#include "shell/ActivacionVentanas.h"

#include "basedatos/DatosDemo.h"
#include "basedatos/EsquemaBaseDatos.h"
#include "host/bitacora/EscrituraBitacora.h"
#include "host/datos/Conexion.h"
#include "host/datos/Secretos.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/ArchivosPrivados.h"
#include "host/servicios/CargadorComponentes.h"
#include "host/servicios/RegistroComponentes.h"
#include "host/servicios/TablaClases.h"
#include "servicios/ConsultaRegistroOrvinda.h"
#include "servicios/ImpresorOrvinda.h"
#include "servicios/LimitesEspera.h"
#include "servicios/Mensajero.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/SistemaOrvinda.h"
#include "servicios/Traza.h"
#include "servicios/UtileriasOrvinda.h"
#include "shell/CreacionDemo.h"
#include "shell/IdentidadOperador.h"
#include "shell/OrdenesBitacora.h"
#include "shell/VentanaContenedora.h"
#include "shell/VerificacionInicio.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace orvinda {

namespace {

// SQLite says "database or disk is full": the operator is told in words.
QString MotivoCreacion(const std::exception& e)
{
    const QString texto = QString::fromUtf8(e.what());
    if (texto.contains(QLatin1String("disk is full"), Qt::CaseInsensitive))
        return QStringLiteral("el disco está lleno (%1)").arg(texto);
    return texto;
}

} // namespace

AplicacionShell::AplicacionShell(OpcionesShell opciones, QObject* parent)
    : QObject(parent)
    , m_opciones(std::move(opciones))
{
    if (!m_opciones.traza.isEmpty())
        m_traza = std::make_unique<Traza>(m_opciones.traza);
    // Without a screen a message box would wait unseen: the messages go to
    // stderr (and the trace) only.
    const bool sinPantalla = !qobject_cast<QApplication*>(QCoreApplication::instance())
        || QGuiApplication::platformName() == QLatin1String("offscreen")
        || QGuiApplication::platformName() == QLatin1String("minimal");
    m_mensajero = std::make_unique<Mensajero>(m_traza.get(), m_opciones.desatendido || sinPantalla);
    if (!sinPantalla)
        new ActivacionVentanas(this);
    // While a statement runs, every window of the shell says it is busy.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        Conexion::InstalarIndicadorOcupado([](bool ocupado) {
            if (QThread::currentThread() != QCoreApplication::instance()->thread())
                return;
            if (ocupado)
                QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            else
                QGuiApplication::restoreOverrideCursor();
        });
}

AplicacionShell::~AplicacionShell()
{
    Conexion::InstalarIndicadorOcupado({});
    delete m_ventana.data();
    m_pantalla.reset();
    TablaClases::RetirarTodas();
}

VentanaContenedora* AplicacionShell::Ventana() const
{
    return m_ventana.data();
}

QString AplicacionShell::BaseDatosPorOmision()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/orvinda.db");
}

QString AplicacionShell::BibliotecaIncluida()
{
    // Beside the shell in a build folder; once installed, in the library
    // folder the build was configured with, wherever the package was unpacked.
    const QString aqui = QCoreApplication::applicationDirPath();
    for (const QString& ruta :
         {aqui + QStringLiteral("/librm640.so"), aqui + QStringLiteral("/" RM640_DIR_COMPONENTE "/librm640.so"),
          aqui + QStringLiteral("/../lib/orvinda/librm640.so")})
        if (QFileInfo::exists(ruta))
            return QFileInfo(ruta).canonicalFilePath();
    return aqui + QStringLiteral("/librm640.so");
}

int AplicacionShell::Fallar(const QString& mensaje, const QString& idError)
{
    std::fprintf(stderr, "orvinda: %s\n", qPrintable(Secretos::Ocultar(mensaje)));
    m_mensajero->Mostrar(mensaje, 16, QStringLiteral("Orvinda"), nullptr, QStringLiteral("ORVINDA"), idError);
    return 1;
}

int AplicacionShell::Iniciar()
{
    if (!m_opciones.texto.isEmpty()) {
        std::fputs(qPrintable(m_opciones.texto), stdout);
        return OpcionesShell::SalidaBien;
    }
    if (!m_opciones.error.isEmpty()) {
        std::fprintf(stderr, "orvinda: %s\n", qPrintable(m_opciones.error));
        return OpcionesShell::SalidaLineaDeOrdenes;
    }
    if (m_traza && !m_traza->Abierta())
        return Fallar(QStringLiteral("No se puede escribir la traza %1: %2").arg(m_opciones.traza, m_traza->Error()),
                      QStringLiteral("ERR-ID:9900002"));

    if (!m_opciones.crearDemo.isEmpty()) {
        try {
            const QString& demo = m_opciones.crearDemo;
            CreacionDemo::Crear(demo.startsWith(u'@') ? Secretos::LeerArchivo(demo.mid(1)) : demo);
            std::fprintf(stdout, "Base de demostración creada en %s\n",
                         qPrintable(Secretos::Ocultar(m_opciones.crearDemo)));
            return 0;
        } catch (const std::exception& e) {
            return Fallar(QStringLiteral("No se pudo crear la base de demostración: %1").arg(MotivoCreacion(e)),
                          QStringLiteral("ERR-ID:9900003"));
        }
    }

    QString destino = m_opciones.baseDatos;
    if (destino.startsWith(u'@')) {
        try {
            destino = Secretos::LeerArchivo(destino.mid(1));
        } catch (const ErrorRm& e) {
            return Fallar(e.Descripcion(), QStringLiteral("ERR-ID:9900004"));
        }
    }
    // The log's commands work on a database that exists, never on a new one.
    const bool ordenBitacora = m_opciones.verificarBitacora || m_opciones.actualizarEsquema;
    if (destino.isEmpty()) {
        destino = BaseDatosPorOmision();
        if (ordenBitacora && !QFileInfo::exists(destino))
            return Fallar(QStringLiteral("No existe la base de datos %1.").arg(destino),
                          QStringLiteral("ERR-ID:9900004"));
        if (!QFileInfo::exists(destino)) {
            const QString carpeta = QFileInfo(destino).absolutePath();
            if (const QString motivo = ArchivosPrivados::CrearCarpeta(carpeta, true); !motivo.isEmpty())
                return Fallar(QStringLiteral("No se puede crear la carpeta de datos %1: %2.").arg(carpeta, motivo),
                              QStringLiteral("ERR-ID:9900003"));
            try {
                CreacionDemo::Crear(destino);
            } catch (const std::exception& e) {
                return Fallar(
                    QStringLiteral("No se pudo crear la base de demostración %1: %2").arg(destino, MotivoCreacion(e)),
                    QStringLiteral("ERR-ID:9900003"));
            }
        }
    } else if (!Conexion::EsCadenaOdbc(destino) && !QFileInfo::exists(destino)) {
        // A mistyped path must not leave an empty database file behind.
        return Fallar(QStringLiteral("No existe la base de datos %1.").arg(destino), QStringLiteral("ERR-ID:9900004"));
    }

    try {
        VerificacionInicio::ArchivoBaseDatos(destino);
        m_conexion = Conexion::Abrir(destino);
        VerificacionInicio::Tablas(*m_conexion, destino);
    } catch (const ErrorRm& e) {
        m_conexion.reset();
        return Fallar(e.Descripcion(), QStringLiteral("ERR-ID:9900004"));
    }
    if (ordenBitacora) {
        try {
            return m_opciones.verificarBitacora ? OrdenesBitacora::Verificar(*m_conexion, m_opciones.desde)
                                                : OrdenesBitacora::ActualizarEsquema(*m_conexion, destino);
        } catch (const ErrorRm& e) {
            return Fallar(e.Descripcion(), QStringLiteral("ERR-ID:9900004"));
        }
    }
    LimitesEspera::Aplicar(*m_conexion);
    if (m_conexion->ComprobarSoloLectura())
        m_mensajero->Mostrar(QStringLiteral("La base de datos %1 es de solo lectura: se puede consultar, pero no se "
                                            "intentará autorizar, rechazar ni guardar.")
                                 .arg(Secretos::Ocultar(destino)),
                             48, QStringLiteral("Orvinda"), nullptr, QStringLiteral("ORVINDA"),
                             QStringLiteral("ERR-ID:9900008"));
    // Nothing is decided without a trail: said now, refused when tried.
    if (const QString falta
        = EscrituraBitacora::Falta(*m_conexion, OrdenesBitacora::OrdenActualizar(m_opciones.baseDatos));
        !falta.isEmpty())
        m_mensajero->Mostrar(falta, 48, QStringLiteral("Orvinda"), nullptr, QStringLiteral("ORVINDA"),
                             QStringLiteral("ERR-ID:9900009"));
    if (m_traza) {
        Traza* t = m_traza.get();
        m_conexion->AlRegistrar([t](const QString& s) { t->Sentencia(s); });
    }
    // The session says who the operator is; the command line only on demo data.
    try {
        const IdentidadOperador::Sesion sesion
            = IdentidadOperador::Resolver(*m_conexion, m_opciones.operador, m_opciones.nivel);
        m_opciones.operador = sesion.operador;
        m_opciones.nivel = sesion.nivel;
        if (m_traza) {
            m_traza->Nota(QStringLiteral("Orvinda, operador %1, sobre %2").arg(m_opciones.operador, destino));
            if (!sesion.aviso.isEmpty())
                m_traza->Nota(sesion.aviso);
        }
    } catch (const ErrorRm& e) {
        return Fallar(e.Descripcion(), QStringLiteral("ERR-ID:9900007"));
    }

    try {
        ServidorPaginas::Instalar();
        RegistrarClases();
        AsegurarComponente();
        AbrirPantalla();
    } catch (const ErrorRm& e) {
        return Fallar(e.Descripcion(), QStringLiteral("ERR-ID:9900005"));
    } catch (const std::exception& e) {
        return Fallar(QString::fromUtf8(e.what()), QStringLiteral("ERR-ID:9900005"));
    }
    return -1;
}

void AplicacionShell::RegistrarClases()
{
    Conexion* c = m_conexion.get();
    Mensajero* m = m_mensajero.get();
    Traza* t = m_traza.get();
    const QString operador = m_opciones.operador;
    const int nivel = m_opciones.nivel;
    TablaClases::Registrar(QString::fromLatin1(Sistema::IdPrograma),
                           [=] { return std::make_unique<SistemaOrvinda>(*c, *m, operador, nivel); });
    TablaClases::Registrar(QString::fromLatin1(Utilerias::IdPrograma),
                           [=] { return std::make_unique<UtileriasOrvinda>(*c, operador); });
    TablaClases::Registrar(QString::fromLatin1(ConsultaRegistro::IdPrograma),
                           [=] { return std::make_unique<ConsultaRegistroOrvinda>(*c, *m); });
    TablaClases::Registrar(QString::fromLatin1(Impresor::IdPrograma),
                           [=] { return std::make_unique<ImpresorOrvinda>(*c, m, t); });
}

void AplicacionShell::AsegurarComponente()
{
    const QString id = QString::fromLatin1(IdPantalla);
    const QString propia = QStringLiteral(RM640_VERSION);
    VerificacionInicio::Registro(false);
    const auto entrada = RegistroComponentes::Buscar(id);
    // A registry another build or installation wrote may name a library of
    // another version: this shell runs only its own, and asks without
    // running the other.
    QString otraVersion;
    if (entrada && QFileInfo::exists(entrada->biblioteca)) {
        const QString version = CargadorComponentes::Version(entrada->biblioteca);
        if (version == propia)
            return;
        otraVersion
            = QStringLiteral("El componente %1 registrado en %2 es de la versión %3 y el shell de la %4")
                  .arg(id, entrada->biblioteca, version.isEmpty() ? QStringLiteral("desconocida") : version, propia);
    }
    const QString incluida = BibliotecaIncluida();
    if (!QFileInfo::exists(incluida)) {
        if (!otraVersion.isEmpty())
            throw ErrorRm(QStringLiteral("%1, y no se encuentra %2.").arg(otraVersion, incluida));
        if (entrada)
            throw ErrorRm(QStringLiteral("El componente %1 está registrado en %2, pero esa biblioteca no existe.")
                              .arg(id, entrada->biblioteca));
        throw ErrorRm(QStringLiteral("El componente %1 no está registrado y no se encuentra %2.").arg(id, incluida));
    }
    if (!otraVersion.isEmpty() && m_traza)
        m_traza->Nota(QStringLiteral("%1: se registra %2.").arg(otraVersion, incluida));
    else if (entrada && otraVersion.isEmpty())
        m_mensajero->Mostrar(
            QStringLiteral("El componente %1 estaba registrado en %2, que ya no existe; se registra %3.")
                .arg(id, entrada->biblioteca, incluida),
            48, QStringLiteral("Registro de componentes"), nullptr, QStringLiteral("ORVINDA"),
            QStringLiteral("ERR-ID:9900006"));
    VerificacionInicio::Registro(true);
    CargadorComponentes::RegistrarBiblioteca(incluida);
    if (const QString version = CargadorComponentes::Version(incluida); version != propia)
        throw ErrorRm(QStringLiteral("La biblioteca del componente %1 es de la versión %2 y el shell de la %3; "
                                     "reinstale Orvinda.")
                          .arg(incluida, version, propia));
}

void AplicacionShell::AbrirPantalla()
{
    m_pantalla = CargadorComponentes::CrearObjeto(QString::fromLatin1(IdPantalla));
    auto* forma = qobject_cast<QWidget*>(m_pantalla->property("GetPantalla").value<QObject*>());
    if (!forma)
        throw ErrorRm(QStringLiteral("El componente %1 no entregó su pantalla.").arg(QLatin1String(IdPantalla)));
    m_ventana = new VentanaContenedora(QStringLiteral("RM640"));
    m_ventana->setAttribute(Qt::WA_DeleteOnClose);
    forma->setProperty("Padre", QVariant::fromValue<QObject*>(m_ventana.data()));
    m_ventana->Alojar(forma);
    m_ventana->show();
    if (!m_opciones.captura.isEmpty())
        EsperarPantallaLlena(*forma);
}

void AplicacionShell::EsperarPantallaLlena(QObject& forma)
{
    // The screen says when its refresh has ended, whatever it found; the
    // capture waits for that, once, on a turn of its own so the window
    // has laid itself out. A screen that says nothing is taken as it is.
    const int senal = forma.metaObject()->indexOfSignal("Llenada()");
    const int ranura = metaObject()->indexOfMethod("Capturar()");
    if (senal < 0
        || !QMetaObject::connect(&forma, senal, this, ranura, Qt::QueuedConnection | Qt::SingleShotConnection))
        QTimer::singleShot(0, this, &AplicacionShell::Capturar);
}

void AplicacionShell::Capturar()
{
    if (m_traza && m_ventana) {
        // What the capture shows, for whoever reads the trace.
        qint64 filas = 0;
        const QList<QAbstractItemView*> listas = m_ventana->findChildren<QAbstractItemView*>();
        for (const QAbstractItemView* lista : listas)
            filas += lista->model() ? lista->model()->rowCount() : 0;
        m_traza->Nota(
            QStringLiteral("Captura %1: %2 filas en %3 listas").arg(m_opciones.captura).arg(filas).arg(listas.size()));
    }
    int codigo = 0;
    if (!m_ventana || !m_ventana->grab().save(m_opciones.captura, "PNG")) {
        std::fprintf(stderr, "orvinda: no se pudo guardar la captura %s\n", qPrintable(m_opciones.captura));
        codigo = 1;
    }
    QCoreApplication::exit(codigo);
}

} // namespace orvinda
