#include "shell/OpcionesShell.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

namespace orvinda {

OpcionesShell OpcionesShell::Leer(const QStringList& argumentos)
{
    QCommandLineParser p;
    p.setApplicationDescription(
        QStringLiteral("Orvinda: escritorio de gestión con la pantalla RM640, Autorizacion de operaciones.\n\n"
                       "--help, --version, --crear-demo, --verificar-bitacora y --actualizar-esquema no abren "
                       "ventana ni necesitan pantalla.\n"
                       "Códigos de salida: 0 terminó bien; 1 no se pudo abrir o crear la base de datos, "
                       "cargar el componente, o no hay pantalla; 2 la línea de órdenes no es válida; 3 la bitácora "
                       "de decisiones está alterada o ya no contiene el hash de --desde."));
    p.addHelpOption();
    p.addVersionOption();
    const QCommandLineOption db(
        QStringLiteral("db"),
        QStringLiteral("Base de datos: ruta de un archivo SQLite o cadena de conexión ODBC (DRIVER=... o DSN=...). "
                       "@ARCHIVO la lee de ARCHIVO, que solo su usuario puede leer y escribir: una contraseña en la "
                       "línea de órdenes la ve cualquier usuario con ps."),
        QStringLiteral("DESTINO"));
    const QCommandLineOption operador(
        QStringLiteral("operador"),
        QStringLiteral(
            "Solo en una base creada con --crear-demo: actúa como ese operador de la tabla Operadores. En otra base el "
            "operador es el asociado a la cuenta de la sesión (del sistema en SQLite, del servidor en ODBC)."),
        QStringLiteral("CLAVE"));
    const QCommandLineOption nivel(
        QStringLiteral("nivel"),
        QStringLiteral("Solo en una base creada con --crear-demo: sustituye el nivel del operador. En otra base el "
                       "nivel es siempre el de la tabla Operadores."),
        QStringLiteral("N"));
    const QCommandLineOption demo(QStringLiteral("crear-demo"),
                                  QStringLiteral("Crea la base de demostración en DESTINO, una ruta o una cadena de "
                                                 "conexión como la de --db (también @ARCHIVO), y termina."),
                                  QStringLiteral("DESTINO"));
    const QCommandLineOption traza(QStringLiteral("traza"),
                                   QStringLiteral("Agrega a ARCHIVO cada sentencia ejecutada y cada mensaje."),
                                   QStringLiteral("ARCHIVO"));
    const QCommandLineOption desatendido(
        QStringLiteral("desatendido"),
        QStringLiteral("No muestra mensajes: los escribe en la traza y responde No (o Aceptar), salvo Sí a las "
                       "preguntas de la orden pedida: autorizar los seleccionados y guardar con errores."));
    const QCommandLineOption captura(
        QStringLiteral("captura"),
        QStringLiteral(
            "Tras la primera activación guarda un PNG de la ventana en ARCHIVO y termina (implica --desatendido)."),
        QStringLiteral("ARCHIVO"));
    const QCommandLineOption verificar(
        QStringLiteral("verificar-bitacora"),
        QStringLiteral(
            "Recalcula la cadena de la bitácora de decisiones de --db y escribe cuántas filas tiene y el "
            "hash de su cabeza (64 dígitos hexadecimales), o la primera fila que no corresponde y por qué."));
    const QCommandLineOption desde(
        QStringLiteral("desde"),
        QStringLiteral("Con --verificar-bitacora: confirma además que HASH, una cabeza registrada antes, sigue en la "
                       "cadena."),
        QStringLiteral("HASH"));
    const QCommandLineOption actualizar(
        QStringLiteral("actualizar-esquema"),
        QStringLiteral("Agrega a --db lo que esta versión necesita y le falta (la bitácora de decisiones, "
                       "Operadores.Op_Cuenta), dice qué agregó y termina; si nada falta, no cambia nada."));
    p.addOptions({db, operador, nivel, demo, traza, desatendido, captura, verificar, desde, actualizar});

    OpcionesShell o;
    if (!p.parse(argumentos)) {
        o.error = p.errorText();
        return o;
    }
    if (p.isSet(QStringLiteral("help")) || p.isSet(QStringLiteral("help-all"))) {
        o.texto = p.helpText();
        return o;
    }
    if (p.isSet(QStringLiteral("version"))) {
        o.texto = QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() + u'\n';
        return o;
    }
    o.baseDatos = p.value(db);
    // A connection string is one line: a password ends at the end of its line when it is masked.
    if (o.baseDatos.contains(u'\n') || o.baseDatos.contains(u'\r'))
        o.error = QStringLiteral("--db no admite saltos de línea.");
    if (p.isSet(operador))
        o.operador = p.value(operador);
    if (p.isSet(nivel)) {
        bool ok = false;
        o.nivel = p.value(nivel).toInt(&ok);
        if (!ok || o.nivel < 0)
            o.error = QStringLiteral("--nivel espera un número entero no negativo.");
    }
    o.crearDemo = p.value(demo);
    o.traza = p.value(traza);
    o.captura = p.value(captura);
    o.desatendido = p.isSet(desatendido) || !o.captura.isEmpty();
    o.verificarBitacora = p.isSet(verificar);
    o.desde = p.value(desde);
    o.actualizarEsquema = p.isSet(actualizar);
    static const QRegularExpression hash(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    if (p.isSet(desde) && !hash.match(o.desde).hasMatch())
        o.error = QStringLiteral("--desde espera un hash de 64 dígitos hexadecimales.");
    if (!o.desde.isEmpty() && !o.verificarBitacora)
        o.error = QStringLiteral("--desde solo se usa con --verificar-bitacora.");
    if (o.verificarBitacora && o.actualizarEsquema)
        o.error = QStringLiteral("--verificar-bitacora y --actualizar-esquema se piden por separado.");
    return o;
}

} // namespace orvinda
