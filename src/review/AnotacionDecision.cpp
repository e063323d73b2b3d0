#include "review/AnotacionDecision.h"

#include "host/bitacora/EscrituraBitacora.h"
#include "host/bitacora/RegistroBitacora.h"
#include "host/datos/Conexion.h"
#include "host/datos/Transaccion.h"
#include "host/servicios/Sistema.h"
#include "marcadores/Marcadores.h"
#include "publico/Publico.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSysInfo>

namespace rm640 {

namespace {

QString Nombre(AnotacionDecision::Origen origen)
{
    switch (origen) {
    case AnotacionDecision::Origen::Dialogo: return QStringLiteral("DIALOGO");
    case AnotacionDecision::Origen::Lote: return QStringLiteral("LOTE");
    case AnotacionDecision::Origen::Reimpresion: break;
    }
    return QStringLiteral("REIMPRESION");
}

// What every row says of where it was written and about which document.
orvinda::RegistroBitacora Registro(const QString& operador, const QString& clave, const QString& tabla,
                                   const QString& folio, const QString& decision, AnotacionDecision::Origen origen)
{
    orvinda::RegistroBitacora r;
    r.operador = operador;
    r.maquina = QSysInfo::machineHostName();
    r.clave = clave;
    r.tabla = tabla;
    r.folio = folio;
    r.decision = decision;
    r.origen = Nombre(origen);
    return r;
}

QSet<qint64>& EnCursoAhora()
{
    static QSet<qint64> referencias;
    return referencias;
}

} // namespace

AnotacionDecision::Valores AnotacionDecision::Leer(const QString& campos,
                                                   const std::function<QString(const QString&)>& valorDe)
{
    Valores valores;
    QSet<QString> leidos;
    for (const CampoAutorizar& campo : Marcadores::LeerListaCampos(campos)) {
        if (leidos.contains(campo.nombre))
            continue;
        leidos.insert(campo.nombre);
        std::optional<QString> valor;
        try {
            valor = valorDe(campo.nombre);
        } catch (...) {
        }
        valores.append({campo.nombre, valor});
    }
    return valores;
}

QString AnotacionDecision::Json(const Valores& valores)
{
    QJsonArray arreglo;
    for (const auto& [campo, valor] : valores)
        arreglo.append(QJsonObject{{QStringLiteral("campo"), campo},
                                   {QStringLiteral("valor"), valor ? QJsonValue(*valor) : QJsonValue()}});
    return QString::fromUtf8(QJsonDocument(arreglo).toJson(QJsonDocument::Compact));
}

qint64 AnotacionDecision::Anotar(const Decision& d)
{
    orvinda::RegistroBitacora r = Registro(d.operador, d.clave, d.tabla, d.folio, d.decision, d.origen);
    r.valores = Json(d.valores);
    r.sentencia = d.sentencia;
    r.filas = d.filas;
    r.comentario = d.comentario;
    orvinda::EscrituraBitacora::Anotar(Publico::Conexion(), r);
    return r.id;
}

void AnotacionDecision::AnotarImpresion(const Impresion& i, const QString& archivo, const QString& error)
{
    MarcarEnCurso(i.referencia, false);
    orvinda::RegistroBitacora r
        = Registro(i.operador, i.clave, i.tabla, i.folio, orvinda::RegistroBitacora::Impresion, i.origen);
    const QString clave = error.isEmpty() ? QStringLiteral("archivo") : QStringLiteral("error");
    r.valores = QString::fromUtf8(
        QJsonDocument(QJsonObject{{clave, error.isEmpty() ? archivo : error}}).toJson(QJsonDocument::Compact));
    r.referencia = i.referencia;
    r.resultado = error.isEmpty() ? archivo : error;
    orvinda::Transaccion transaccion(Publico::Sistema->ObtenerConexion(), &Publico::Conexion);
    orvinda::EscrituraBitacora::Anotar(Publico::Conexion(), r);
    transaccion.Confirmar();
}

void AnotacionDecision::MarcarEnCurso(qint64 referencia, bool enCurso)
{
    if (enCurso)
        EnCursoAhora().insert(referencia);
    else
        EnCursoAhora().remove(referencia);
}

bool AnotacionDecision::EnCurso(qint64 referencia)
{
    return EnCursoAhora().contains(referencia);
}

} // namespace rm640
