#include "servicios/SistemaOrvinda.h"

#include "host/datos/Conexion.h"
#include "host/errores/ErrorRm.h"
#include "servicios/Mensajero.h"
#include "servicios/TextoSql.h"

#include <QDesktopServices>
#include <QUrl>

namespace orvinda {

SistemaOrvinda::SistemaOrvinda(Conexion& conexion, Mensajero& mensajero, QString operador, int nivel)
    : m_conexion(conexion)
    , m_mensajero(mensajero)
    , m_operador(std::move(operador))
    , m_nivel(nivel)
{
}

Conexion& SistemaOrvinda::ObtenerConexion()
{
    return m_conexion;
}

QString SistemaOrvinda::ObtenerOperador()
{
    return m_operador;
}

qint16 SistemaOrvinda::NivelSistema()
{
    if (m_nivel < 0) {
        Recordset rs = m_conexion.Execute(QStringLiteral("SELECT Op_Nivel FROM Operadores WHERE Op_Cve_Operador = ")
                                          + TextoSql::Literal(m_operador));
        m_nivel = (rs.Eof() || rs.Fields(0).EsNulo()) ? 0 : rs.Fields(0).Value().toInt();
    }
    return static_cast<qint16>(m_nivel);
}

QVariant SistemaOrvinda::ConvertirParametro(const QVariant& valor, const QString& tipo)
{
    if (!valor.isValid() || valor.isNull())
        return QVariant();
    const QString t = tipo.trimmed().toUpper();
    const QString texto = valor.toString().trimmed();
    if (t == QLatin1String("B")) {
        const QString v = texto.toUpper();
        bool numero = false;
        const double d = v.toDouble(&numero);
        if (numero)
            return d != 0.0;
        return v == QLatin1String("S") || v == QLatin1String("SI") || v == QLatin1String("SÍ")
            || v == QLatin1String("TRUE") || v == QLatin1String("VERDADERO") || v == QLatin1String("V");
    }
    if (t == QLatin1String("N")) {
        bool entero = false;
        const qlonglong n = texto.toLongLong(&entero);
        if (entero)
            return n;
        bool real = false;
        const double d = texto.toDouble(&real);
        return real ? QVariant(d) : QVariant();
    }
    return valor.toString();
}

QVariant SistemaOrvinda::LeerParametro(const QString& clave, int ambito, const QString& tipo, const QString& omision)
{
    // A parameter of another scope is a fallback: the general scope holds most.
    Recordset rs = m_conexion.Execute(QStringLiteral("SELECT Pg_Tipo, Pg_Valor, Pg_Ambito FROM Parametros_Generales "
                                                     "WHERE Pg_Cve_Parametro = %1 ORDER BY Pg_Ambito")
                                          .arg(TextoSql::Literal(clave)));
    QVariant valor;
    QString tipoGuardado;
    bool hallado = false;
    for (; !rs.Eof(); rs.MoveNext()) {
        const bool mismoAmbito = rs.Fields(QStringLiteral("Pg_Ambito")).Value().toInt() == ambito;
        if (!hallado || mismoAmbito) {
            valor = rs.Fields(QStringLiteral("Pg_Valor")).Value();
            tipoGuardado = rs.Fields(QStringLiteral("Pg_Tipo")).Value().toString();
            hallado = true;
        }
        if (mismoAmbito)
            break;
    }
    if (!hallado || valor.isNull()) {
        if (!omision.isEmpty())
            return omision;
        if (!hallado && !m_faltantesAvisados.contains(clave)) {
            m_faltantesAvisados.insert(clave);
            m_mensajero.Mostrar(
                QStringLiteral(
                    "El parámetro general \"%1\" no está dado de alta en Parametros_Generales; se toma sin valor.")
                    .arg(clave),
                Sistema::EstiloAdvertencia, QStringLiteral("Parámetros generales"), nullptr, QStringLiteral("ORVINDA"),
                QStringLiteral("ERR-ID:9900001"));
        }
        return QVariant();
    }
    return ConvertirParametro(valor, tipo.isEmpty() ? tipoGuardado : tipo);
}

QVariant SistemaOrvinda::MostrarMensaje(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana,
                                        const QString& modulo, const QString& idError)
{
    return m_mensajero.Mostrar(mensaje, estilo, titulo, ventana, modulo, idError);
}

QVariant SistemaOrvinda::MostrarInforme(const QString& mensaje, qint32 estilo, const QString& titulo, QWidget* ventana,
                                        const QString& modulo, const QString& idError, qsizetype graves)
{
    return m_mensajero.Mostrar(mensaje, estilo, titulo, ventana, modulo, idError, graves);
}

QVariant SistemaOrvinda::Preguntar(const QString& mensaje, const QString& titulo, QWidget* ventana,
                                   const QString& modulo, const QString& idError, int predeterminada, int desatendida)
{
    return m_mensajero.Preguntar(mensaje, titulo, ventana, modulo, idError, predeterminada, desatendida);
}

bool SistemaOrvinda::AbrirArchivo(const QString& ruta)
{
    return m_mensajero.Desatendido() || QDesktopServices::openUrl(QUrl::fromLocalFile(ruta));
}

} // namespace orvinda
