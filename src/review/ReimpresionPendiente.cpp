#include "review/ReimpresionPendiente.h"

#include "host/datos/Conexion.h"
#include "host/servicios/Sistema.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/AnotacionDecision.h"
#include "review/AvisosImpresion.h"
#include "review/RevisionDocumento.h"

#include <QCoreApplication>
#include <QHash>
#include <QSqlDatabase>
#include <QSysInfo>
#include <QTimer>
#include <memory>

namespace rm640 {

namespace {

// Every authorization up to this one has been looked at, per session.
QHash<QString, qint64> g_revisadas;
bool g_imprimiendo = false;

void Siguiente(const std::shared_ptr<QList<AnotacionDecision::Impresion>>& cola)
{
    if (cola->isEmpty()) {
        g_imprimiendo = false;
        return;
    }
    const AnotacionDecision::Impresion impresion = cola->takeFirst();
    RevisionDocumento::Autorizacion autorizacion;
    autorizacion.ejecutada = true;
    autorizacion.impresion = impresion;
    RevisionDocumento::Concluir(
        [](const QString&, int, const QString&, const QString&) {}, autorizacion, impresion.clave, impresion.folio,
        [cola, folio = impresion.folio](const QString& archivo, const QString& error) {
            AvisosImpresion& avisos = AvisosImpresion::Instancia();
            if (error.isEmpty() && !archivo.isEmpty() && avisos.Escuchado())
                emit avisos.Impreso(folio, archivo, QString());
            if (!error.isEmpty())
                Trampa::Intentar([&] {
                    Trampa::Mostrar(nullptr,
                                    QStringLiteral("No se pudo imprimir de nuevo el documento "
                                                   "%1, autorizado sin que terminara su "
                                                   "impresión: %2")
                                        .arg(folio, error),
                                    orvinda::Sistema::EstiloError, QStringLiteral("Reimpresión"),
                                    QStringLiteral("ERR-ID:7500080"));
                });
            QTimer::singleShot(0, QCoreApplication::instance(), [cola] { Siguiente(cola); });
        });
}

// The folio as the log keeps it: a statement with bound values is read
// through Qt's driver, which on a server drops a leading U+FEFF; one
// without them through the driver manager's own API.
QString FolioAnotado(orvinda::Conexion& conexion, qint64 id)
{
    orvinda::Recordset rs
        = conexion.Execute(QStringLiteral("SELECT Bd_Folio FROM Bitacora_Decisiones WHERE Bd_Id = %1").arg(id));
    return rs.Eof() ? QString() : rs.Fields(0).Texto();
}

} // namespace

int ReimpresionPendiente::Reanudar()
{
    if (g_imprimiendo)
        return 0;
    auto cola = std::make_shared<QList<AnotacionDecision::Impresion>>();
    Trampa::Intentar([&] {
        const QString operador = Publico::Sistema->ObtenerOperador();
        orvinda::Conexion& conexion = Publico::Sistema->ObtenerConexion();
        qint64& revisadas = g_revisadas[conexion.BaseDatos().connectionName()];
        // One turn: the head's last id (what is written from now on is looked
        // at next time) beside each authorization still waiting, if any.
        orvinda::Recordset rs = conexion.Execute(
            QStringLiteral("SELECT h.Bc_Ultimo_Id, p.Bd_Id, p.Bd_Clave, p.Bd_Tabla, p.Bd_Folio FROM Bitacora_Cabeza h"
                           " LEFT JOIN (SELECT d.Bd_Id, d.Bd_Clave, d.Bd_Tabla, d.Bd_Folio FROM Bitacora_Decisiones d"
                           " JOIN Configuracion_Autorizacion c ON c.Ca_Cve_Configuracion_Autorizacion = d.Bd_Clave"
                           " WHERE d.Bd_Operador = ? AND d.Bd_Maquina = ? AND d.Bd_Decision = 'AU' AND d.Bd_Id > ?"
                           " AND c.Ca_Formato_Impresion <> ''"
                           " AND NOT EXISTS (SELECT 1 FROM Bitacora_Decisiones i WHERE i.Bd_Referencia = d.Bd_Id)) p"
                           " ON 1 = 1 WHERE h.Bc_Clave = 1 ORDER BY p.Bd_Id"),
            {operador, QSysInfo::machineHostName(), revisadas});
        const qint64 anterior = revisadas;
        for (; !rs.Eof(); rs.MoveNext()) {
            revisadas = std::max(anterior, rs.Fields(0).Value().toLongLong());
            const qint64 id = rs.Fields(1).Value().toLongLong();
            // Its printing goes on in this process: it will be recorded.
            if (rs.Fields(1).EsNulo() || AnotacionDecision::EnCurso(id))
                continue;
            cola->append({id, operador, rs.Fields(2).Texto(), rs.Fields(3).Texto(), FolioAnotado(conexion, id),
                          AnotacionDecision::Origen::Reimpresion});
        }
    });
    const int encontradas = static_cast<int>(cola->size());
    if (encontradas > 0) {
        g_imprimiendo = true;
        Siguiente(cola);
    }
    return encontradas;
}

} // namespace rm640
