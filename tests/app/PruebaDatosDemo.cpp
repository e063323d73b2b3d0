#include "basedatos/DatosDemo.h"
#include "basedatos/EsquemaBaseDatos.h"
#include "comun/Ayudas.h"
#include "marcadores/Marcadores.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using orvinda::DatosDemo;
using orvinda::EsquemaBaseDatos;
using rm640::Marcadores;

namespace {

// A SQLite file in its own temporary folder, on its own connection name.
struct BaseTemporal
{
    QTemporaryDir dir;
    QString nombre;
    QSqlDatabase db;

    BaseTemporal()
    {
        static int n = 0;
        nombre = QStringLiteral("prueba_datos_demo_%1").arg(++n);
        db = QSqlDatabase::addDatabase("QSQLITE", nombre);
        db.setDatabaseName(dir.filePath("orvinda.db"));
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
    }
    ~BaseTemporal()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(nombre);
    }

    QSqlQuery Ejecutar(const QString& sql)
    {
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString() << "\n" << q.lastError().text().toStdString();
        return q;
    }
    QVariant Valor(const QString& sql)
    {
        auto q = Ejecutar(sql);
        return q.next() ? q.value(0) : QVariant();
    }

    // Every table's rows as one text, to compare whole databases.
    QString Volcado()
    {
        QStringList texto;
        for (const auto& t : EsquemaBaseDatos::NombresTablas())
            texto << t << Instantanea(db, t, "1, 2");
        return texto.join(u'\n');
    }
};

std::vector<QSqlRecord> Filas(BaseTemporal& b, const QString& sql)
{
    std::vector<QSqlRecord> filas;
    auto q = b.Ejecutar(sql);
    while (q.next())
        filas.push_back(q.record());
    return filas;
}

std::vector<QSqlRecord> Configuraciones(BaseTemporal& b)
{
    return Filas(b, "SELECT * FROM Configuracion_Autorizacion ORDER BY Ca_Cve_Configuracion_Autorizacion");
}

QString T(const QSqlRecord& f, const char* columna)
{
    return f.value(QLatin1String(columna)).toString();
}

// The single row of the template query, as the inbox hands it to the template.
QList<rm640::ColumnaPlantilla> PrimeraFila(BaseTemporal& b, const QString& sql, QSqlRecord* registro = nullptr)
{
    const auto filas = Filas(b, sql);
    EXPECT_EQ(filas.size(), 1u) << sql.toStdString();
    QList<rm640::ColumnaPlantilla> r;
    if (filas.empty())
        return r;
    if (registro)
        *registro = filas[0];
    for (int i = 0; i < filas[0].count(); ++i)
        r.append({filas[0].fieldName(i).toUpper(), filas[0].isNull(i) ? std::nullopt : std::optional<QString>(filas[0].value(i).toString())});
    return r;
}

QStringList FoliosPendientes(BaseTemporal& b, const QString& sqlListado)
{
    QStringList folios;
    for (const QSqlRecord& f : Filas(b, sqlListado)) {
        EXPECT_EQ(f.value(0).metaType().id(), QMetaType::QString) << "el folio debe ser texto";
        folios << f.value(0).toString();
    }
    return folios;
}

bool FilaContiene(const QSqlRecord& fila, const QString& valor)
{
    bool okValor = false;
    const double numero = QString(valor).remove(QLatin1Char(',')).toDouble(&okValor);
    for (int i = 0; i < fila.count(); ++i) {
        bool ok = false;
        if (fila.value(i).toString() == valor || (okValor && std::abs(fila.value(i).toDouble(&ok) - numero) < 0.005 && ok))
            return true;
    }
    return false;
}

QSqlRecord Documento(BaseTemporal& b, const QString& tabla, const QString& clave, const QString& folio)
{
    const auto filas = Filas(b, QStringLiteral("SELECT * FROM %1 WHERE %2 = '%3'").arg(tabla, clave, folio));
    return filas.empty() ? QSqlRecord() : filas[0];
}

// Money as "$ 23,794.10" and dates as "06/12/2026", never as the database stores them.
bool SeLeeComoDocumento(const QString& html)
{
    static const QRegularExpression malDinero("\\$ (?!\\d{1,3}(,\\d{3})*\\.\\d\\d\\b)"), iso("\\d{4}-\\d\\d-\\d\\d"), fecha("\\d\\d/\\d\\d/20\\d\\d");
    return !html.contains(malDinero) && !html.contains(iso) && html.contains(fecha);
}

const QString kOperador = "ADMIN";
const QString kFecha = "2025-07-01T10:11:12";

} // namespace

TEST(EsquemaBaseDatos, CrearDosVecesConservaTablasYFilas)
{
    BaseTemporal b;
    ASSERT_NO_THROW(EsquemaBaseDatos::Crear(b.db));
    b.Ejecutar(QStringLiteral("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion, Ca_Sql)"
                              " VALUES ('0009', 'SELECT ''x''')"));
    ASSERT_NO_THROW(EsquemaBaseDatos::Crear(b.db));

    // The row outlives the second creation, and the state it did not name defaults to active.
    EXPECT_EQ(b.Valor("SELECT Es_Cve_Estado FROM Configuracion_Autorizacion").toString(), "AC");

    // The key is unique.
    EXPECT_FALSE(QSqlQuery(b.db).exec("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion) VALUES ('0009')"));
}

TEST(EsquemaBaseDatos, GuionSqlServerDefineLasMismasTablasYColumnas)
{
    const QString ruta = QStringLiteral(RM640_FUENTES "/sql/orvinda_sqlserver.sql");
    const QString guion = LeerArchivo(ruta);
    ASSERT_FALSE(guion.isEmpty()) << ruta.toStdString();

    BaseTemporal b;
    EsquemaBaseDatos::Crear(b.db);

    static const QRegularExpression reTabla("CREATE TABLE dbo\\.(\\w+) \\((.*?)\\n    \\);", QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression reColumna("^\\s+(\\w+)\\s+(\\w+(?:\\([\\w,]+\\))?)");
    QStringList tablasGuion;
    for (auto it = reTabla.globalMatch(guion); it.hasNext();) {
        const auto m = it.next();
        const QString tabla = m.captured(1);
        tablasGuion << tabla;

        QStringList columnasGuion;
        for (const auto& linea : m.captured(2).split(QLatin1Char('\n'))) {
            const auto c = reColumna.match(linea);
            if (c.hasMatch() && c.captured(1) != QLatin1String("CONSTRAINT"))
                columnasGuion << c.captured(1) + QLatin1Char(' ') + c.captured(2);
        }
        // The server types that stand for the embedded ones.
        QStringList columnasSqlite;
        auto q = b.Ejecutar(QStringLiteral("PRAGMA table_info(%1)").arg(tabla));
        while (q.next()) {
            QString tipo = q.value(2).toString().replace(QLatin1String("VARCHAR"), QLatin1String("NVARCHAR"));
            tipo = tipo == QLatin1String("TEXT") ? "NVARCHAR(MAX)" : tipo == QLatin1String("INTEGER") ? "INT" : tipo;
            columnasSqlite << q.value(1).toString() + QLatin1Char(' ') + tipo;
        }
        EXPECT_EQ(columnasGuion, columnasSqlite) << tabla.toStdString();
    }
    EXPECT_EQ(tablasGuion, EsquemaBaseDatos::NombresTablas());
}

// Every configuration of the demo, end to end: its listing, its page, its
// authorization and its rejection run against the demo's own documents.
TEST(DatosDemo, CadaConfiguracionListaMuestraAutorizaYRechaza)
{
    BaseTemporal b;
    EXPECT_FALSE(DatosDemo::Existe(b.db));
    ASSERT_NO_THROW(DatosDemo::Cargar(b.db));
    EXPECT_TRUE(DatosDemo::Existe(b.db));
    const QString parametros = "(SELECT Pg_Cve_Parametro, Pg_Ambito, Pg_Tipo, Pg_Valor FROM Parametros_Generales"
                               " WHERE Pg_Cve_Parametro IN ('GEN_URL', 'CAT_AUTOCLAVE', 'FTO_CONFIGURACION_AUTORIZACION'))";
    EXPECT_EQ(Instantanea(b.db, parametros, "1"), (QStringList{"CAT_AUTOCLAVE|0|B|1", "FTO_CONFIGURACION_AUTORIZACION|0|T|0000", "GEN_URL|1|T|orvinda://web"}));

    QStringList estados;
    for (const auto& c : Configuraciones(b)) {
        const QString clave = T(c, "Ca_Cve_Configuracion_Autorizacion");
        estados << clave + QLatin1Char('=') + T(c, "Es_Cve_Estado");
        SCOPED_TRACE(clave.toStdString());
        // The editor writes the four SQL texts as double-quoted literals (a
        // double quote in them doubled) and the template as a single-quoted
        // one; each statement runs alone. Only the listing quotes its
        // aliases, so that every engine keeps their case in the headers.
        for (const char* sql : {"Ca_Sql", "Ca_Sql_Autoriazion", "Ca_Sql_Plantilla", "Ca_Sql_Rechazar"})
            EXPECT_FALSE((T(c, sql).contains(u'"') && QLatin1String(sql) != QLatin1String("Ca_Sql")) || T(c, sql).contains(u';')
                         || T(c, sql).contains(QLatin1String("||")))
                << sql;
        EXPECT_TRUE(T(c, "Ca_Sql").startsWith(QLatin1String("SELECT ")) && T(c, "Ca_Sql").contains(QLatin1String(" AS \"Folio\", ")));
        EXPECT_FALSE(T(c, "Ca_Plantilla_Autorizacion").contains(QLatin1Char('\'')));

        const QString tabla = T(c, "Ca_Tabla"), claveTabla = T(c, "Ca_Tabla_Clave");
        const QString estado = claveTabla.section(u'_', 0, 0) + "_Estado"; // Rq_Folio, Rq_Estado
        const QStringList folios = FoliosPendientes(b, T(c, "Ca_Sql"));
        EXPECT_EQ(folios.size(), b.Valor(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = 'PE'").arg(tabla, estado)).toInt());
        ASSERT_GE(folios.size(), 2);

        // The page of the first and last pending document renders whole.
        QSqlRecord propuesto;
        const QString html = T(c, "Ca_Plantilla_Autorizacion");
        const auto campos = Marcadores::LeerListaCampos(T(c, "Ca_Campos_Autorizar"));
        for (const QString& folio : {folios.last(), folios.first()}) {
            const auto fila = PrimeraFila(b, Marcadores::ExpandirConsulta(T(c, "Ca_Sql_Plantilla"), folio), &propuesto);
            for (const auto& campo : campos) {
                // A number would reach the page in the regional format, thousands separators and all.
                EXPECT_EQ(propuesto.value(campo.nombre).metaType().id(), QMetaType::QString) << campo.nombre.toStdString();
                EXPECT_TRUE(html.contains(QStringLiteral("id=\"%1\" name=\"%1\"").arg(campo.nombre))) << campo.nombre.toStdString();
            }
            // No NULL (the rendering would fail) and no token left over.
            QString lleno;
            ASSERT_NO_THROW(lleno = Marcadores::ExpandirPlantilla(html, fila));
            EXPECT_TRUE(!lleno.contains(u'{') && lleno.contains(folio));
            EXPECT_TRUE(SeLeeComoDocumento(lleno)) << lleno.toStdString();
            if (propuesto.contains("DETALLE_HTML"))
                EXPECT_TRUE(lleno.contains(QLatin1String("<tr><td class=\"num\">1</td>")));
        }

        // The reviewer keeps the proposed values and types what is missing.
        const QString aAutorizar = folios[0];
        QStringList columnas, capturados, obligatorios;
        for (int i = 0; i < propuesto.count(); ++i)
            columnas << propuesto.fieldName(i).toUpper();
        for (const auto& campo : campos)
            if (campo.obligatorio)
                obligatorios << campo.nombre;
        const auto leer = [&](const QString& campo) {
            QString valor = propuesto.value(campo).toString();
            bool numero = false;
            if (campo == Marcadores::CampoComentarioDocumento)
                valor = "Revisado en prueba";
            else if (valor.isEmpty() && obligatorios.contains(campo))
                valor = "PP-2025-042";
            else if (std::abs(valor.toDouble(&numero)) >= 1000 && numero)
                valor = QLocale(QLocale::English, QLocale::UnitedStates).toString(valor.toDouble(), 'f', 2); // as typed by hand
            capturados << valor;
            return valor;
        };
        const auto expansion
            = Marcadores::ExpandirAutorizacion(T(c, "Ca_Sql_Autoriazion"), T(c, "Ca_Campos_Autorizar"), columnas, leer, {}, aAutorizar, kOperador, kFecha);
        const QString sentencia = expansion.sentencia;
        ASSERT_TRUE(expansion.completa() && !sentencia.contains(u'{')) << sentencia.toStdString();
        EXPECT_EQ(b.Ejecutar(sentencia).numRowsAffected(), 1);
        const QSqlRecord autorizado = Documento(b, tabla, claveTabla, aAutorizar);
        EXPECT_EQ(autorizado.value(estado).toString(), "AU");
        for (const auto& v : capturados + QStringList{kOperador, kFecha})
            EXPECT_TRUE(FilaContiene(autorizado, v)) << "valor capturado no guardado: " << v.toStdString();

        const QString aRechazar = folios[1];
        const QString rechazo = Marcadores::ExpandirRechazo(T(c, "Ca_Sql_Rechazar"), aRechazar, kOperador, kFecha);
        EXPECT_EQ(b.Ejecutar(rechazo).numRowsAffected(), 1);
        const QSqlRecord rechazado = Documento(b, tabla, claveTabla, aRechazar);
        EXPECT_EQ(rechazado.value(estado).toString(), "RE");
        EXPECT_TRUE(FilaContiene(rechazado, kFecha));

        // Each statement acts once: a processed document is never processed again.
        EXPECT_EQ(b.Ejecutar(sentencia).numRowsAffected(), 0);
        EXPECT_EQ(b.Ejecutar(rechazo).numRowsAffected(), 0);
        EXPECT_EQ(b.Ejecutar(QString(sentencia).replace(aAutorizar, aRechazar)).numRowsAffected(), 0);
        EXPECT_EQ(b.Ejecutar(QString(rechazo).replace(aRechazar, aAutorizar)).numRowsAffected(), 0);
        EXPECT_EQ(FoliosPendientes(b, T(c, "Ca_Sql")).size(), folios.size() - 2);
    }
    EXPECT_EQ(estados, QStringList({"0001=AC", "0002=AC", "0003=AC", "0004=BA"}));
    // Required, optional and comment fields are all represented.
    EXPECT_EQ(T(Configuraciones(b)[0], "Ca_Campos_Autorizar"), "*MONTO_AUTORIZADO,CUENTA_PRESUPUESTAL,COMENTARIO_DOCUMENTO");
}

TEST(DatosDemo, FormatoDeImpresionDeOrdenAutorizada)
{
    BaseTemporal b;
    DatosDemo::Cargar(b.db);

    ASSERT_EQ(b.Valor("SELECT Ca_Formato_Impresion FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0002'").toString(),
              "OC_AUTORIZADA");
    auto q = b.Ejecutar("SELECT Fi_Sql, Fi_Plantilla FROM Formatos_Impresion WHERE Fi_Cve_Formato = 'OC_AUTORIZADA'");
    ASSERT_TRUE(q.next());
    const QString sql = q.value(0).toString(), plantilla = q.value(1).toString();

    const QString autorizada = b.Valor("SELECT MIN(Oc_Folio) FROM Ordenes_Compra WHERE Oc_Estado = 'AU'").toString();
    const QString pendiente = b.Valor("SELECT MIN(Oc_Folio) FROM Ordenes_Compra WHERE Oc_Estado = 'PE'").toString();
    ASSERT_FALSE(autorizada.isEmpty() || pendiente.isEmpty());

    QString lleno;
    ASSERT_NO_THROW(lleno = Marcadores::ExpandirPlantilla(plantilla, PrimeraFila(b, Marcadores::ExpandirConsulta(sql, autorizada))));
    EXPECT_TRUE(!lleno.contains(u'{') && lleno.contains(autorizada) && lleno.contains(QLatin1String("<tr>"))) << lleno.toStdString();
    EXPECT_TRUE(SeLeeComoDocumento(lleno) && lleno.contains(QRegularExpression("Autorizó el \\d\\d/\\d\\d/20\\d\\d \\d\\d:\\d\\d<")));

    // A pending order is not printed as authorized.
    EXPECT_TRUE(Filas(b, Marcadores::ExpandirConsulta(sql, pendiente)).empty());
}

TEST(DatosDemo, CadaCargaDaElMismoContenido)
{
    BaseTemporal uno, otro;
    DatosDemo::Cargar(uno.db);
    DatosDemo::Cargar(otro.db);
    const QString volcado = uno.Volcado();
    EXPECT_TRUE(volcado.size() > 100000 && volcado == otro.Volcado());
    EXPECT_LE(uno.Valor("SELECT MAX(Rq_Fecha) FROM Requisiciones_Compra").toString(), DatosDemo::FechaBase().toString(Qt::ISODate));
}

TEST(DatosDemo, UnaFallaDentroDeCargarDejaLaBaseComoEstaba)
{
    BaseTemporal b;
    EsquemaBaseDatos::Crear(b.db);
    b.Ejecutar("INSERT INTO Formatos_Impresion (Fi_Cve_Formato, Fi_Descripcion) VALUES ('OC_AUTORIZADA', 'previo')");
    const QString antes = b.Volcado();

    EXPECT_THROW(DatosDemo::Cargar(b.db), std::runtime_error);
    EXPECT_TRUE(b.Volcado() == antes && !DatosDemo::Existe(b.db));

    // No transaction is left open: once the clash is gone the load succeeds.
    b.Ejecutar("DELETE FROM Formatos_Impresion");
    EXPECT_NO_THROW(DatosDemo::Cargar(b.db));
    EXPECT_TRUE(DatosDemo::Existe(b.db));
}
