#include "review/RevisionDocumento.h"

#include "config/Parametros.h"
#include "config/ReglasSql.h"
#include "host/bitacora/RegistroBitacora.h"
#include "host/datos/Conexion.h"
#include "host/datos/Recordset.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/Impresor.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/TablaClases.h"
#include "host/servicios/Utilerias.h"
#include "marcadores/Marcadores.h"
#include "marcadores/MarcadoresHtml.h"
#include "marcadores/MarcadoresSql.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/AvisosImpresion.h"
#include "review/ReglasDePagina.h"

#include <QHash>
#include <memory>
#include <optional>

namespace rm640 {

namespace {

// The page's values, each read once before the transaction begins: the
// write lock is held while statements run, never while the page answers. A
// value that could not be read fails where it would have been read. leidos
// keeps them in the order of the field list, for the log.
RevisionDocumento::ValorDe LeidoAntes(const QString& campos, const RevisionDocumento::ValorDe& pagina,
                                      AnotacionDecision::Valores& leidosEnOrden)
{
    auto leidos = std::make_shared<QHash<QString, std::pair<QString, std::exception_ptr>>>();
    for (const CampoAutorizar& campo : Marcadores::LeerListaCampos(campos)) {
        if (leidos->contains(campo.nombre))
            continue;
        std::pair<QString, std::exception_ptr> leido;
        try {
            leido.first = pagina(campo.nombre);
        } catch (...) {
            leido.second = std::current_exception();
        }
        leidos->insert(campo.nombre, leido);
        leidosEnOrden.append({campo.nombre, leido.second ? std::nullopt : std::optional<QString>(leido.first)});
    }
    return [leidos, pagina](const QString& campo) {
        const auto it = leidos->constFind(campo);
        if (it == leidos->cend())
            return pagina(campo);
        if (it->second)
            std::rethrow_exception(it->second);
        return it->first;
    };
}

// The printing's end written in the log. The authorization committed long
// before: a failure here is told as what it is, never as a change undone.
QString ImpresionAnotada(const AnotacionDecision::Impresion& impresion, const QString& archivo, const QString& error)
{
    QString motivo;
    try {
        AnotacionDecision::AnotarImpresion(impresion, archivo, error);
        return error;
    } catch (const orvinda::ErrorRm& e) {
        motivo = e.Descripcion();
    } catch (const std::exception& e) {
        motivo = QString::fromUtf8(e.what());
    }
    const QString aviso = QStringLiteral("El documento %1 quedó autorizado, pero la bitácora no anotó su impresión: %2")
                              .arg(impresion.folio, motivo);
    return error.isEmpty() ? aviso : error + QStringLiteral("\n") + aviso;
}

orvinda::Recordset ConsultarPlantilla(const QString& consulta, const QString& folio,
                                      const MarcadoresSql::Reglas& reglas)
{
    const QString sentencia = MarcadoresSql::ExpandirConsulta(consulta, folio, reglas);
    MarcadoresSql::RehusarTransacciones(sentencia, reglas.dialecto);
    return Publico::Sistema->ObtenerConexion().Execute(sentencia);
}

// The requester column of the current row; empty without a row or a value.
QString Solicitante(orvinda::Recordset& datos)
{
    if (datos.Eof())
        return QString();
    for (int i = 0; i < datos.FieldsCount(); ++i) {
        const orvinda::Campo campo = datos.Fields(i);
        if (campo.Name().compare(RevisionDocumento::ColumnaSolicitante, Qt::CaseInsensitive) == 0)
            return campo.EsNulo() ? QString() : campo.Texto().trimmed();
    }
    return QString();
}

// The document the review road rendered last and who asked for it: the
// rejection, which reads no template of its own, asks here.
struct Mostrado
{
    QString clave, folio, solicitante;
};
Mostrado g_mostrado;

} // namespace

QString RevisionDocumento::Renderizar(const QString& clave, const QString& folio)
{
    g_mostrado = {};
    orvinda::Conexion& inicio = Publico::Sistema->ObtenerConexion();
    const MarcadoresSql::Reglas reglas = ReglasSql::De(inicio);
    const MarcadoresHtml::Modo modoHtml = Parametros::ModoPlantilla(inicio);
    Publico::CadenaSql = QString();
    Publico::CadenaSql += QStringLiteral(" SELECT ");
    Publico::CadenaSql += QStringLiteral(" Ca_Sql_Plantilla, ");
    Publico::CadenaSql += QStringLiteral(" Ca_Plantilla_Autorizacion ");
    Publico::CadenaSql += QStringLiteral(" FROM Configuracion_Autorizacion ");
    Publico::CadenaSql += QStringLiteral(" where Ca_Cve_Configuracion_Autorizacion='")
        + MarcadoresSql::Clave(clave, reglas.modo) + QStringLiteral("' ");
    orvinda::Recordset configuracion = inicio.Execute(Publico::CadenaSql);
    if (configuracion.Eof())
        return QString();

    const QString plantilla = configuracion.Fields(QStringLiteral("Ca_Plantilla_Autorizacion")).Texto();
    const QString consulta = configuracion.Fields(QStringLiteral("Ca_Sql_Plantilla")).Texto();
    configuracion.Close();
    QString solicitante;
    const QString html = Renderizar(plantilla, consulta, folio, reglas, modoHtml, &solicitante);
    g_mostrado = {clave, folio, solicitante};
    return html;
}

QString RevisionDocumento::Renderizar(const QString& plantilla, const QString& consulta, const QString& folio,
                                      const MarcadoresSql::Reglas& reglas, MarcadoresHtml::Modo modoHtml,
                                      QString* solicitante)
{
    orvinda::Recordset datos = ConsultarPlantilla(consulta, folio, reglas);
    if (solicitante)
        *solicitante = Solicitante(datos);

    std::optional<QList<ColumnaPlantilla>> primeraFila;
    if (!datos.Eof()) {
        QList<ColumnaPlantilla> columnas;
        columnas.reserve(datos.FieldsCount());
        for (int i = 0; i < datos.FieldsCount(); ++i) {
            const orvinda::Campo campo = datos.Fields(i);
            columnas.append({campo.Name(), campo.EsNulo() ? std::nullopt : std::optional<QString>(campo.Texto())});
        }
        primeraFila = std::move(columnas);
    }
    const QString html = MarcadoresHtml::ExpandirPlantilla(plantilla, primeraFila, modoHtml);
    datos.Close();
    return html;
}

QString RevisionDocumento::SolicitanteMostrado(const QString& clave, const QString& folio)
{
    return g_mostrado.clave == clave && g_mostrado.folio == folio ? g_mostrado.solicitante : QString();
}

bool RevisionDocumento::EsPropia(const QString& solicitante, const QString& operador)
{
    return !solicitante.trimmed().isEmpty()
        && solicitante.trimmed().compare(operador.trimmed(), Qt::CaseInsensitive) == 0;
}

QString RevisionDocumento::PropiaSolicitud(const QString& accion, const QString& folio, const QString& operador)
{
    return QStringLiteral("No puede %1 el documento %2: lo solicitó usted (operador %3) y nadie decide sobre su "
                          "propia solicitud. Otro operador debe hacerlo.")
        .arg(accion, folio, operador);
}

RevisionDocumento::ColumnasPlantilla RevisionDocumento::LeerColumnas(const QString& consultaPlantilla,
                                                                     const QString& folio,
                                                                     const MarcadoresSql::Reglas& reglas)
{
    orvinda::Recordset plantilla = ConsultarPlantilla(consultaPlantilla, folio, reglas);
    ColumnasPlantilla columnas{plantilla.NombresCampos(), Solicitante(plantilla)};
    plantilla.Close();
    return columnas;
}

QString RevisionDocumento::CampoObligatorio(const QString& campo)
{
    return QStringLiteral("El campo '") + campo + QStringLiteral("' es obligatorio no puede estar vacío");
}

RevisionDocumento::Autorizacion
RevisionDocumento::Autorizar(const Reportar& reportar, const QString& clave, const QString& tabla, const QString& folio,
                             const QString& campos, const ValorDe& pagina, AnotacionDecision::Origen origen,
                             const SentenciaDeRevision::AntesDeConfirmar& antesDeConfirmar)
{
    const QString operador = Publico::Sistema->ObtenerOperador();
    const QString fecha = Publico::Utilerias->FormatearFecha(Publico::Utilerias->FechaServidor());
    AnotacionDecision::Valores valores;
    const ValorDe valorDe = LeidoAntes(campos, pagina, valores);

    const auto consulta = [&clave](MarcadoresSql::Modo modo) {
        QString s;
        s += QStringLiteral(" SELECT ");
        s += QStringLiteral("   Ca_Sql_Autoriazion, ");
        s += QStringLiteral("   Ca_Sql_Plantilla ");
        s += QStringLiteral(" FROM Configuracion_Autorizacion ");
        s += QStringLiteral(" where Ca_Cve_Configuracion_Autorizacion = '") + MarcadoresSql::Clave(clave, modo)
            + QStringLiteral("' ");
        return s;
    };
    Autorizacion resultado;
    QString comentario;
    const auto expansion = [&](orvinda::Recordset& rs, const MarcadoresSql::Reglas& reglas) -> std::optional<QString> {
        const QString sentencia = rs.Fields(QStringLiteral("Ca_Sql_Autoriazion")).Texto();
        const QString consultaPlantilla = rs.Fields(QStringLiteral("Ca_Sql_Plantilla")).Texto();
        rs.Close();

        // Who asked for the document is known before any value is read or
        // any comment handed over.
        const ColumnasPlantilla columnas = LeerColumnas(consultaPlantilla, folio, reglas);
        if (EsPropia(columnas.solicitante, operador)) {
            reportar(PropiaSolicitud(QStringLiteral("autorizar"), folio, operador), orvinda::Sistema::EstiloAdvertencia,
                     QStringLiteral("Autorizar"), QStringLiteral("ERR-ID:7500065"));
            return std::nullopt;
        }
        const ExpansionAutorizacion expansion = MarcadoresSql::ExpandirAutorizacion(
            sentencia, campos, columnas.nombres, valorDe,
            [&](QString& texto) {
                Publico::Utilerias->GuardarComentario(tabla, folio, texto);
                comentario = texto;
            },
            folio, operador, fecha, reglas);
        if (!expansion.completa()) {
            resultado.campoFaltante = *expansion.campoFaltante;
            reportar(CampoObligatorio(*expansion.campoFaltante), orvinda::Sistema::EstiloInformacion,
                     QStringLiteral("Orvinda"), QStringLiteral("ERR-ID:7500027"));
            return std::nullopt;
        }
        return expansion.sentencia;
    };
    // A refused value is the operator's to correct, not the configuration's.
    const SentenciaDeRevision::Resultado r = SentenciaDeRevision::Ejecutar(
        reportar,
        {QStringLiteral("Verifique la configuración de la autorización"), QStringLiteral("Autorizar"),
         QStringLiteral("ERR-ID:7500028"), QStringLiteral("ERR-ID:7500059"), QStringLiteral("La autorización"),
         QStringLiteral("ERR-ID:7500062")},
        consulta, expansion, [&](const QString& sentencia, int filas) {
            if (antesDeConfirmar)
                antesDeConfirmar(sentencia, filas);
            const qint64 registro
                = AnotacionDecision::Anotar({operador, clave, tabla, folio, orvinda::RegistroBitacora::Autorizacion,
                                             valores, sentencia, filas, comentario, origen});
            resultado.impresion = {registro, operador, clave, tabla, folio, origen};
        });
    resultado.ejecutada = r.desenlace == SentenciaDeRevision::Desenlace::Confirmada;
    if (!resultado.ejecutada)
        resultado.impresion = {};
    resultado.sinCambios = r.desenlace == SentenciaDeRevision::Desenlace::SinCambios;
    resultado.sentencia = r.sentencia;
    resultado.filas = r.filas;
    return resultado;
}

RevisionDocumento::Autorizacion
RevisionDocumento::Autorizar(const Reportar& reportar, const QString& clave, const QString& tabla, const QString& folio,
                             const QString& campos, orvinda::WebBrowser& pagina, AnotacionDecision::Origen origen,
                             const SentenciaDeRevision::AntesDeConfirmar& antesDeConfirmar)
{
    return Autorizar(reportar, clave, tabla, folio, campos, pagina.LeerCampos(ReglasDePagina::Nombres(campos)), origen,
                     antesDeConfirmar);
}

RevisionDocumento::Autorizacion
RevisionDocumento::Autorizar(const Reportar& reportar, const QString& clave, const QString& tabla, const QString& folio,
                             const QString& campos, const orvinda::WebBrowser::Lectura& pagina,
                             AnotacionDecision::Origen origen,
                             const SentenciaDeRevision::AntesDeConfirmar& antesDeConfirmar)
{
    if (const std::optional<ReglasDePagina::Incumplida> incumplida = ReglasDePagina::Primera(pagina, campos)) {
        Autorizacion detenida;
        detenida.campoFaltante = incumplida->campo;
        reportar(incumplida->mensaje, orvinda::Sistema::EstiloInformacion, QStringLiteral("Orvinda"),
                 QStringLiteral("ERR-ID:7500064"));
        return detenida;
    }
    return Autorizar(
        reportar, clave, tabla, folio, campos, [&pagina](const QString& campo) { return pagina.Valor(campo); }, origen,
        antesDeConfirmar);
}

void RevisionDocumento::Concluir(const Reportar& reportar, const Autorizacion& autorizacion, const QString& clave,
                                 const QString& folio, AlImprimir alImprimir)
{
    if (autorizacion.sinCambios) {
        Trampa::Intentar([&] {
            reportar(QStringLiteral("El documento %1 ya no está pendiente: otro operador lo procesó antes. No se "
                                    "aplicó ningún cambio.")
                         .arg(folio),
                     orvinda::Sistema::EstiloInformacion, QStringLiteral("Autorizar"),
                     QStringLiteral("ERR-ID:7500057"));
        });
        return;
    }
    const auto titulo = QStringLiteral("CmdAutorizado_Click()");
    const auto id = QStringLiteral("ERR-ID:7500051");
    // What ends later is told on its own: whoever asked may be gone by then.
    // Nobody waits for it: the inbox shows it, or a failure gets a box.
    AlImprimir fin = alImprimir;
    if (!fin)
        fin = [titulo, id, folio](const QString& archivo, const QString& error) {
            AvisosImpresion& avisos = AvisosImpresion::Instancia();
            if (avisos.Escuchado())
                emit avisos.Impreso(folio, archivo, error);
            else if (!error.isEmpty())
                Trampa::Intentar([&] { Trampa::Mostrar(nullptr, error, orvinda::Sistema::EstiloError, titulo, id); });
        };
    const AnotacionDecision::Impresion impresion = autorizacion.impresion;
    const bool anotar = impresion.referencia > 0;
    if (anotar) {
        AnotacionDecision::MarcarEnCurso(impresion.referencia, true);
        fin = [impresion, siguiente = std::move(fin)](const QString& archivo, const QString& error) {
            siguiente(archivo, ImpresionAnotada(impresion, archivo, error));
        };
    }
    QString formato;
    const bool empezada = Trampa::Atrapar(
        [&](const QString& descripcion) {
            const QString aviso = anotar ? ImpresionAnotada(impresion, QString(), descripcion) : descripcion;
            if (alImprimir)
                alImprimir(QString(), aviso);
            else if (AvisosImpresion::Instancia().Escuchado())
                emit AvisosImpresion::Instancia().Impreso(folio, QString(), aviso);
            else
                reportar(aviso, orvinda::Sistema::EstiloError, titulo, id);
        },
        [&] { formato = Imprimir(clave, folio, fin); });
    if (empezada && formato.isEmpty()) {
        // Nothing to print: nothing for the log to wait for.
        AnotacionDecision::MarcarEnCurso(impresion.referencia, false);
        if (alImprimir)
            alImprimir(QString(), QString());
    }
}

QString RevisionDocumento::Pagina(const QString& urlBase)
{
    return urlBase + QStringLiteral("/EditorWeb/Pagina.Html");
}

QString RevisionDocumento::Imprimir(const QString& clave, const QString& folio, AlImprimir alTerminar)
{
    const QString formato = Publico::Utilerias->BuscarValor(
        QStringLiteral("Configuracion_Autorizacion"), QStringLiteral("Ca_Cve_Configuracion_Autorizacion"), clave,
        QStringLiteral("Ca_Formato_Impresion"), 0, QString(), QString(), QString());
    if (formato.isEmpty())
        return formato;
    std::unique_ptr<orvinda::Impresor> impresor = orvinda::TablaClases::Crear<orvinda::Impresor>();
    impresor->setAlTerminar(std::move(alTerminar));
    impresor->Imprimir(formato, folio, QString(), 0, 0, QString());
    impresor.reset();
    return formato;
}

} // namespace rm640
