#include "editor/Verificacion.h"

#include "config/ConfiguracionAutorizacion.h"
#include "config/Parametros.h"
#include "config/ReglasSql.h"
#include "editor/Ensayo.h"
#include "host/datos/Conexion.h"
#include "host/datos/Transaccion.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "marcadores/LectorSql.h"
#include "marcadores/Marcadores.h"
#include "marcadores/MarcadoresHtml.h"
#include "marcadores/MarcadoresSql.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <algorithm>

namespace rm640 {

namespace {

const QString Listado = QStringLiteral("SQL selección de datos");
const QString Autorizacion = QStringLiteral("SQL autorización");
const QString ConsultaPlantilla = QStringLiteral("SQL plantilla");
const QString Plantilla = QStringLiteral("HTML plantilla");
const QString Rechazo = QStringLiteral("SQL rechazar");
const QString Campos = QStringLiteral("Campos a recuperar");

const QStringList Fijos = {QStringLiteral("FOLIO"), QStringLiteral("OPERADOR"), QStringLiteral("FECHA")};

QStringList Marcas(const QString& texto)
{
    static const QRegularExpression marca(QStringLiteral("\\{([A-Za-z_][A-Za-z0-9_]*)\\}"));
    QStringList r;
    for (const QRegularExpressionMatch& m : marca.globalMatch(texto))
        if (!r.contains(m.captured(1)))
            r.append(m.captured(1));
    return r;
}

// Whether marca stands somewhere outside the statement's comments: one
// inside them only never becomes a condition.
bool FueraDeComentarios(const QString& texto, const QString& marca, DialectoSql dialecto)
{
    LectorSql lector(texto, dialecto);
    for (const qsizetype p : Marcadores::Posiciones(texto, marca, false)) {
        if (p < lector.Posicion())
            continue;
        lector.Avanzar(p);
        if (lector.Donde() != LectorSql::Lugar::Linea && lector.Donde() != LectorSql::Lugar::Bloque)
            return true;
    }
    return false;
}

orvinda::Conexion& Conexion()
{
    return Publico::Sistema->ObtenerConexion();
}

// Compiled by the server, never run; inside a transaction rolled back all
// the same, in case a server runs what it was only asked to compile.
void Preparar(const QString& sentencia)
{
    orvinda::Conexion& c = Conexion();
    const orvinda::Transaccion deshecha(c, &Publico::Conexion);
    switch (c.ObtenerDialecto()) {
    case orvinda::Conexion::Dialecto::PostgreSQL:
        c.Execute(QStringLiteral("PREPARE rm640_verificacion AS ") + sentencia);
        c.Execute(QStringLiteral("DEALLOCATE rm640_verificacion"));
        break;
    case orvinda::Conexion::Dialecto::SqlServer: {
        c.Execute(QStringLiteral("SET NOEXEC ON"));
        const auto fin = qScopeGuard([&c] { Trampa::Intentar([&c] { c.Execute(QStringLiteral("SET NOEXEC OFF")); }); });
        c.Execute(sentencia);
        break;
    }
    default: c.Compilar(sentencia); break;
    }
}

using Gravedad = Verificacion::Gravedad;
using Aviso = Verificacion::Aviso;

class Revisor
{
public:
    explicit Revisor(const ConfiguracionAutorizacion& c)
        : c(c)
    {
    }

    void Avisar(const QString& elemento, const QString& mensaje, Gravedad gravedad = Gravedad::Advertencia)
    {
        avisos.append({elemento, mensaje, gravedad});
    }
    void Error(const QString& elemento, const QString& mensaje) { Avisar(elemento, mensaje, Gravedad::Error); }

    static bool TieneEspacios(const QString& nombre)
    {
        static const QRegularExpression espacio(QStringLiteral("\\s"));
        return nombre.contains(espacio);
    }

    // An item no column fills is never read: its token stays in the
    // statement as typed, and a required one is never required. That is an
    // error when it is required, or the page has no element for it either.
    void ListaDeCampos(const QStringList* columnas, const QString& pagina)
    {
        QSet<QString> nombres;
        if (columnas)
            for (const QString& columna : *columnas)
                nombres.insert(columna.toUpper());
        for (const CampoAutorizar& campo : Marcadores::LeerListaCampos(c.camposAutorizar)) {
            const QString& n = campo.nombre;
            const auto sinElemento = [&pagina, &n] {
                return Verificacion::ElementosLlamados(pagina, n) == 0 ? Gravedad::Error : Gravedad::Advertencia;
            };
            if (n.trimmed().isEmpty())
                Avisar(Campos,
                       QStringLiteral("hay un elemento vacío (dos comas seguidas o una coma al final); quítelo."));
            else if (TieneEspacios(n))
                Avisar(Campos,
                       QStringLiteral("'%1' tiene espacios y no coincidirá con ninguna columna; quite los "
                                      "espacios junto a las comas.")
                           .arg(n),
                       sinElemento());
            else if (n != n.toUpper())
                Avisar(Campos,
                       QStringLiteral("'%1' no está en mayúsculas y no coincidirá con ninguna columna; "
                                      "escríbalo como %2.")
                           .arg(n, n.toUpper()),
                       sinElemento());
            else if (columnas && !nombres.contains(n))
                Avisar(Campos,
                       QStringLiteral("'%1' no es una columna de la consulta de la plantilla; corrija el nombre "
                                      "o agregue la columna a \"%2\".")
                           .arg(n, ConsultaPlantilla),
                       campo.obligatorio ? Gravedad::Error : sinElemento());
        }
    }

    // Each field the authorization reads needs exactly one element in the
    // page: none is an error, several a warning (the reading refuses them).
    // Without the template query's columns, every well-written item counts.
    void ElementosDeLaPagina(const QString& pagina, const QStringList* columnas, const QString& donde)
    {
        for (const CampoAutorizar& campo : Marcadores::LeerListaCampos(c.camposAutorizar)) {
            const bool bienEscrito = campo.nombre == campo.nombre.toUpper() && !TieneEspacios(campo.nombre);
            const bool leido = bienEscrito && (!columnas || columnas->contains(campo.nombre, Qt::CaseInsensitive));
            if (!leido || campo.nombre.isEmpty())
                continue;
            const int total = Verificacion::ElementosLlamados(pagina, campo.nombre);
            const QString tipo = campo.obligatorio ? QStringLiteral("obligatorio ") : QString();
            if (total == 0)
                Error(Plantilla,
                      QStringLiteral("el campo %1'%2' no tiene ningún elemento con ese id o name en %3; "
                                     "agregue, por ejemplo, <input name=\"%2\">.")
                          .arg(tipo, campo.nombre, donde));
            else if (total > 1)
                Avisar(Plantilla,
                       QStringLiteral("el campo %1'%2' tiene %3 elementos con ese id o name en %4; deje "
                                      "uno solo.")
                           .arg(tipo, campo.nombre)
                           .arg(total)
                           .arg(donde));
        }
    }

    void SinFolio(DialectoSql dialecto)
    {
        const QString folio = QStringLiteral("{FOLIO}");
        const QString haga = QStringLiteral(": no distingue un documento de otro; agregue la condición sobre el "
                                            "folio, por ejemplo '{FOLIO}'.");
        for (const auto& [elemento, texto] : {std::pair{ConsultaPlantilla, &c.sqlPlantilla},
                                              {Autorizacion, &c.sqlAutorizacion},
                                              {Rechazo, &c.sqlRechazar}}) {
            if (texto->isEmpty())
                continue;
            if (!texto->contains(folio))
                Error(elemento, QStringLiteral("no menciona {FOLIO}") + haga);
            else if (!FueraDeComentarios(*texto, folio, dialecto))
                Error(elemento, QStringLiteral("menciona {FOLIO} solo en comentarios") + haga);
        }
        for (const QString& marca : Marcas(c.sqlRechazar))
            if (!Fijos.contains(marca))
                Avisar(Rechazo,
                       QStringLiteral("{%1} nunca se sustituye en el rechazo (solo {FOLIO}, {OPERADOR} y "
                                      "{FECHA}); quítelo.")
                           .arg(marca));
    }

    // A transaction command would end the review's own transaction: the
    // statement is refused, so it is not even prepared here.
    void Transacciones(DialectoSql dialecto)
    {
        for (const auto& [elemento, texto] : {std::pair{Listado, &c.sql},
                                              {ConsultaPlantilla, &c.sqlPlantilla},
                                              {Autorizacion, &c.sqlAutorizacion},
                                              {Rechazo, &c.sqlRechazar}})
            if (const std::optional<QString> orden = MarcadoresSql::OrdenDeTransaccion(*texto, dialecto)) {
                conOrden.insert(elemento);
                Error(elemento,
                      QStringLiteral("contiene la orden de transacción %1 y así no se ejecuta; quítela: cada "
                                     "sentencia ya corre en una transacción que abre y cierra el componente.")
                          .arg(*orden));
            }
    }

    // The quoting rules of the statements that run: a value outside quotes
    // must be a number. folios: the values {FOLIO} will take, when known.
    void Comillas(const QStringList& folios, const QString& operador, const QString& fecha,
                  DialectoSql dialecto = DialectoSql::Comun)
    {
        for (const auto& [elemento, texto] : {std::pair{ConsultaPlantilla, &c.sqlPlantilla},
                                              {Autorizacion, &c.sqlAutorizacion},
                                              {Rechazo, &c.sqlRechazar}}) {
            QList<std::pair<QString, QString>> valores
                = {{QStringLiteral("OPERADOR"), operador}, {QStringLiteral("FECHA"), fecha}};
            if (texto == &c.sqlPlantilla)
                valores.clear();
            for (const QString& folio : folios)
                valores.append({QStringLiteral("FOLIO"), folio});
            QSet<QString> vistos;
            for (const auto& [marca, valor] : valores) {
                if (vistos.contains(marca))
                    continue;
                try {
                    MarcadoresSql::Sustituir(*texto, u'{' + marca + u'}', valor, marca, dialecto);
                } catch (const ValorNoAdmitido& e) {
                    vistos.insert(marca);
                    Avisar(elemento,
                           e.Descripcion() + QStringLiteral(" Escriba la marca entre comillas simples: '{") + marca
                               + QStringLiteral("}'."));
                }
            }
        }
    }

    // Errors first, each group in the order found.
    QList<Aviso> Ordenados() const
    {
        QList<Aviso> r = avisos;
        std::stable_partition(r.begin(), r.end(), [](const Aviso& a) { return a.EsError(); });
        return r;
    }

    const ConfiguracionAutorizacion& c;
    QList<Verificacion::Aviso> avisos;
    QSet<QString> conOrden; // the items holding a transaction command
};

} // namespace

QList<Verificacion::Aviso> Verificacion::Textos(const ConfiguracionAutorizacion& c)
{
    Revisor r(c);
    r.ListaDeCampos(nullptr, c.plantilla);
    r.ElementosDeLaPagina(c.plantilla, nullptr, Plantilla);
    r.SinFolio(DialectoSql::Comun);
    r.Comillas({}, QStringLiteral("OPERADOR"), QStringLiteral("2000-01-01 00:00:00"));
    return r.Ordenados();
}

QList<Verificacion::Aviso> Verificacion::Completa(const ConfiguracionAutorizacion& c)
{
    Revisor r(c);
    const DialectoSql dialecto = ReglasSql::Dialecto(Conexion());
    r.Transacciones(dialecto);
    const auto fallo = [&r](const QString& elemento) {
        return [&r, elemento](const QString& error) {
            r.Error(elemento,
                    QStringLiteral("la base de datos no la acepta: ") + error
                        + QStringLiteral(" Corríjala antes de usarla."));
        };
    };

    const auto preparar = [&](const QString& elemento, const QString& sentencia) {
        if (sentencia.trimmed().isEmpty()) {
            r.Error(elemento, QStringLiteral("está vacía; escríbala."));
            return false;
        }
        if (r.conOrden.contains(elemento))
            return false;
        return Trampa::Atrapar(fallo(elemento), [&] { Preparar(sentencia); });
    };
    QStringList folios;
    if (preparar(Listado, c.sql))
        Trampa::Atrapar(
            [&r](const QString& error) {
                r.Avisar(Listado, error + QStringLiteral(" El listado debe dar el folio en su primera columna."));
            },
            [&] { folios = Ensayo(c).Folios(); });
    const QString folio = folios.value(0);

    // Every token with a value of its kind, as the review road gives them:
    // the first folio, the operator, the server's date, a number per field.
    const QString operador = Publico::Sistema->ObtenerOperador();
    const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());
    const QString muestra = folio.isEmpty() ? QStringLiteral("0") : folio;
    QStringList todas;
    for (const CampoAutorizar& campo : Marcadores::LeerListaCampos(c.camposAutorizar))
        todas.append(campo.nombre);
    preparar(ConsultaPlantilla, Marcadores::ExpandirConsulta(c.sqlPlantilla, muestra));
    preparar(Autorizacion,
             Marcadores::ExpandirAutorizacion(
                 c.sqlAutorizacion, c.camposAutorizar, todas, [](const QString&) { return QStringLiteral("0"); }, {},
                 muestra, operador, fecha)
                 .sentencia);
    preparar(Rechazo, Marcadores::ExpandirRechazo(c.sqlRechazar, muestra, operador, fecha));

    std::optional<QStringList> columnas;
    if (!r.conOrden.contains(ConsultaPlantilla))
        Trampa::Atrapar([](const QString&) {},
                        [&] {
                            orvinda::Conexion& cx = Conexion();
                            const orvinda::Transaccion deshecha(cx, &Publico::Conexion);
                            columnas
                                = cx.Execute(MarcadoresSql::ExpandirConsulta(c.sqlPlantilla, folio, ReglasSql::De(cx)))
                                      .NombresCampos();
                        });
    if (columnas) {
        for (const QString& marca : Marcas(c.plantilla))
            if (!columnas->contains(marca, Qt::CaseInsensitive))
                r.Avisar(Plantilla,
                         QStringLiteral("{%1} no lo llena ninguna columna de la consulta de la plantilla; "
                                        "agregue la columna %2 a \"%3\" o quite la marca.")
                             .arg(marca, marca.toUpper(), ConsultaPlantilla));
        for (const QString& columna : *columnas)
            if (MarcadoresHtml::EsMarcado(columna))
                r.Avisar(Plantilla,
                         QStringLiteral("la columna %1 se inserta como marcado HTML, no como texto: lo que contenga "
                                        "forma parte de la página. Si es texto, quite %2 del nombre de la columna.")
                             .arg(columna.toUpper(), MarcadoresHtml::SufijoMarcado));
        QString pagina = c.plantilla;
        QString donde = QStringLiteral("la plantilla");
        const auto rehusado = [&r](const QString& descripcion) {
            r.Avisar(Plantilla,
                     descripcion
                         + QStringLiteral(" Ponga la marca en el texto de la página o en el valor de un atributo "
                                          "entre comillas."));
        };
        // The list is judged against the page rendered, though what the
        // rendering says is told after it.
        const qsizetype antes = r.avisos.size();
        if (!folio.isEmpty())
            Trampa::Atrapar(QString(), fallo(Plantilla), rehusado, [&] {
                pagina = Ensayo(c).Renderizar(folio);
                donde = QStringLiteral("el documento %1").arg(folio);
            });
        const QList<Aviso> alMostrar = r.avisos.mid(antes);
        r.avisos.resize(antes);
        r.ListaDeCampos(&*columnas, pagina);
        r.avisos += alMostrar;
        r.ElementosDeLaPagina(pagina, &*columnas, donde);
    } else {
        r.ListaDeCampos(nullptr, c.plantilla);
        r.ElementosDeLaPagina(c.plantilla, nullptr, QStringLiteral("la plantilla"));
    }
    r.SinFolio(dialecto);
    if (Parametros::ModoSustitucion(Conexion()) == MarcadoresSql::Modo::Citar)
        r.Comillas(folios, operador, fecha, dialecto);
    return r.Ordenados();
}

qsizetype Verificacion::Errores(const QList<Aviso>& avisos)
{
    return std::count_if(avisos.begin(), avisos.end(), [](const Aviso& a) { return a.EsError(); });
}

int Verificacion::ElementosLlamados(const QString& html, const QString& nombre)
{
    static const QRegularExpression etiqueta(
        QStringLiteral("<[A-Za-z][A-Za-z0-9-]*((?:[^>\"']|\"[^\"]*\"|'[^']*')*)>"));
    static const QRegularExpression atributo(
        QStringLiteral("(?:^|\\s)(id|name)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'=<>`]+))"),
        QRegularExpression::CaseInsensitiveOption);
    int total = 0;
    for (const QRegularExpressionMatch& e : etiqueta.globalMatch(html)) {
        for (const QRegularExpressionMatch& a : atributo.globalMatch(e.captured(1))) {
            const QString valor = a.captured(2) + a.captured(3) + a.captured(4);
            if (valor == nombre) {
                ++total;
                break;
            }
        }
    }
    return total;
}

QString Verificacion::Texto(const QList<Aviso>& avisos)
{
    QStringList lineas;
    for (const Aviso& a : avisos)
        lineas.append(a.elemento + QStringLiteral(": ") + a.mensaje);
    return lineas.join(u'\n');
}

QString Verificacion::Informe(const QList<Aviso>& avisos)
{
    const qsizetype errores = Errores(avisos);
    if (errores == 0)
        return Texto(avisos);
    QString informe
        = QStringLiteral("Errores (%1): con ellos el revisor autorizaría o rechazaría mal; corríjalos.\n").arg(errores)
        + Texto(avisos.mid(0, errores));
    if (errores < avisos.size())
        informe += QStringLiteral("\nAvisos (%1):\n").arg(avisos.size() - errores) + Texto(avisos.mid(errores));
    return informe;
}

qsizetype Verificacion::ParteDeErrores(const QList<Aviso>& avisos)
{
    const qsizetype errores = Errores(avisos);
    return errores == 0 ? 0 : Informe(avisos.mid(0, errores)).size();
}

} // namespace rm640
