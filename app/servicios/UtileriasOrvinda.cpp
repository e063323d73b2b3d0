#include "servicios/UtileriasOrvinda.h"

#include "host/controles/ListView.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/Twips.h"
#include "host/controles/txtVEX.h"
#include "host/datos/Conexion.h"
#include "host/datos/LecturaListado.h"
#include "host/errores/ErrorRm.h"
#include "servicios/ResaltadorSql.h"
#include "servicios/TextoSql.h"

namespace orvinda {

UtileriasOrvinda::UtileriasOrvinda(Conexion& conexion, QString operador)
    : m_conexion(conexion)
    , m_operador(std::move(operador))
{
}

QString UtileriasOrvinda::BuscarValor(const QString& tabla, const QString& columnaClave, const QString& valorClave,
                                      const QString& columnaResultado, int, const QString&, const QString&,
                                      const QString&)
{
    Recordset rs
        = m_conexion.Execute(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4")
                                 .arg(TextoSql::Identificador(columnaResultado), TextoSql::Identificador(tabla),
                                      TextoSql::Identificador(columnaClave), TextoSql::Literal(valorClave)));
    if (rs.Eof() || rs.Fields(0).EsNulo())
        return QString();
    return rs.Fields(0).Texto();
}

qint32 UtileriasOrvinda::SiguienteClave(const QString& tabla, const QString& columnaClave, const QString&,
                                        const QString&, const QString&, const QString&, const QString&, const QString&,
                                        const QString&)
{
    // Keys are text; only those that read as whole numbers take part.
    Recordset rs = m_conexion.Execute(
        QStringLiteral("SELECT %1 FROM %2").arg(TextoSql::Identificador(columnaClave), TextoSql::Identificador(tabla)));
    qint64 mayor = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        bool ok = false;
        const qint64 n = rs.Fields(0).Value().toString().trimmed().toLongLong(&ok);
        if (ok && n > mayor)
            mayor = n;
    }
    if (mayor >= std::numeric_limits<qint32>::max())
        throw ErrorRm(QStringLiteral("No quedan claves numéricas libres en %1.").arg(tabla), 6);
    return static_cast<qint32>(mayor + 1);
}

QDateTime UtileriasOrvinda::FechaServidor()
{
    QString sql;
    switch (m_conexion.ObtenerDialecto()) {
    case Conexion::Dialecto::SQLite:
        sql = QStringLiteral("SELECT strftime('%Y-%m-%dT%H:%M:%S', 'now', 'localtime')");
        break;
    case Conexion::Dialecto::SqlServer: sql = QStringLiteral("SELECT GETDATE()"); break;
    default: sql = QStringLiteral("SELECT LOCALTIMESTAMP"); break;
    }
    Recordset rs = m_conexion.Execute(sql);
    if (rs.Eof() || rs.Fields(0).EsNulo())
        throw ErrorRm(QStringLiteral("El servidor no informó su fecha."));
    const QVariant v = rs.Fields(0).Value();
    QDateTime fecha
        = v.typeId() == QMetaType::QDateTime ? v.toDateTime() : QDateTime::fromString(v.toString(), Qt::ISODate);
    if (!fecha.isValid())
        throw ErrorRm(QStringLiteral("Fecha del servidor no válida: %1").arg(v.toString()));
    return fecha;
}

QString UtileriasOrvinda::FormatearFecha(const QDateTime& fecha)
{
    // ISO 8601 with the T: read the same way by every supported server,
    // whatever its language or date order.
    return fecha.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

void UtileriasOrvinda::GuardarComentario(const QString& tabla, const QString& folio, QString& comentario)
{
    const QString fecha = FormatearFecha(FechaServidor());
    m_conexion.Execute(QStringLiteral("INSERT INTO Comentarios_Documento (Cd_Tabla, Cd_Folio, Cd_Comentario, "
                                      "Cd_Operador, Cd_Fecha) VALUES (%1, %2, %3, %4, %5)")
                           .arg(TextoSql::Literal(tabla), TextoSql::Literal(folio), TextoSql::Literal(comentario),
                                TextoSql::Literal(m_operador), TextoSql::Literal(fecha)));
}

QWidget* UtileriasOrvinda::CampoClave(QWidget& forma)
{
    // Walk the focus chain, which follows the tab order.
    QWidget* inicio = &forma;
    for (QWidget* w = forma.nextInFocusChain(); w && w != inicio; w = w->nextInFocusChain()) {
        auto* campo = qobject_cast<txtVEX*>(w);
        if (campo && forma.isAncestorOf(campo) && campo->esclave())
            return campo;
    }
    return nullptr;
}

void UtileriasOrvinda::LimpiarForma(QWidget& forma, int)
{
    QWidget* clave = CampoClave(forma);
    for (txtVEX* campo : forma.findChildren<txtVEX*>()) {
        if (campo == clave)
            continue;
        campo->setTexto(QString());
        campo->setHabilitado(false);
    }
}

void UtileriasOrvinda::HabilitarForma(QWidget& forma, int)
{
    QWidget* clave = CampoClave(forma);
    for (txtVEX* campo : forma.findChildren<txtVEX*>())
        if (campo != clave)
            campo->setHabilitado(true);
}

void UtileriasOrvinda::LlenarLista(QString consulta, ListView& lista, bool&)
{
    // Read off the window's thread: the list says when it is full.
    lista.Llenar(m_conexion.LeerListado(consulta));
}

void UtileriasOrvinda::FormatearConsulta(RichTextBox& caja, int)
{
    if (!caja.document()->findChild<ResaltadorSql*>())
        new ResaltadorSql(caja.document());
}

QString UtileriasOrvinda::ObtenerTransaccion(QString& transaccion, QString& aplicacion)
{
    return aplicacion + u'/' + transaccion;
}

} // namespace orvinda
