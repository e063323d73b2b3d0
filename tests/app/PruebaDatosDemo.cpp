#include "basedatos/DatosDemo.h"
#include "basedatos/EsquemaBaseDatos.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <stdexcept>

using orvinda::DatosDemo;
using orvinda::EsquemaBaseDatos;

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
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
        db.setDatabaseName(dir.filePath(QStringLiteral("orvinda.db")));
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
    int Filas(const QString& tabla) { return Valor(QStringLiteral("SELECT COUNT(*) FROM ") + tabla).toInt(); }

    // Every table's rows as one text, to compare whole databases.
    QString Volcado()
    {
        QString texto;
        for (const auto& t : EsquemaBaseDatos::NombresTablas()) {
            auto q = Ejecutar(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2").arg(t));
            while (q.next())
                for (int i = 0; i < q.record().count(); ++i)
                    texto += q.value(i).toString() + QLatin1Char('|');
        }
        return texto;
    }
};

using Fila = std::map<QString, QVariant>;

std::vector<Fila> Configuraciones(BaseTemporal& b)
{
    std::vector<Fila> filas;
    auto q = b.Ejecutar(QStringLiteral("SELECT * FROM Configuracion_Autorizacion ORDER BY Ca_Cve_Configuracion_Autorizacion"));
    while (q.next()) {
        Fila f;
        for (int i = 0; i < q.record().count(); ++i)
            f[q.record().fieldName(i)] = q.value(i);
        filas.push_back(f);
    }
    return filas;
}

QString T(const Fila& f, const char* columna) { return f.at(QString::fromLatin1(columna)).toString(); }

struct Campo { QString nombre; bool obligatorio; };

std::vector<Campo> CamposDe(const QString& lista)
{
    std::vector<Campo> campos;
    for (const auto& item : lista.split(QLatin1Char(','), Qt::SkipEmptyParts))
        campos.push_back({QString(item).remove(QLatin1Char('*')), item.startsWith(QLatin1Char('*'))});
    return campos;
}

QStringList Marcadores(const QString& html)
{
    QStringList r;
    static const QRegularExpression re(QStringLiteral("\\{([^{}]*)\\}"));
    for (auto it = re.globalMatch(html); it.hasNext();)
        r << it.next().captured(1);
    return r;
}

// Column names (upper case) and values of the first row; fails the test on an
// error or when there is no row.
std::vector<std::pair<QString, QVariant>> PrimeraFila(BaseTemporal& b, const QString& sql)
{
    std::vector<std::pair<QString, QVariant>> r;
    auto q = b.Ejecutar(sql);
    if (!q.next()) {
        ADD_FAILURE() << "sin fila: " << sql.toStdString();
        return r;
    }
    for (int i = 0; i < q.record().count(); ++i)
        r.emplace_back(q.record().fieldName(i).toUpper(), q.value(i));
    EXPECT_FALSE(q.next()) << "más de una fila: " << sql.toStdString();
    return r;
}

QString Rellenar(QString html, const std::vector<std::pair<QString, QVariant>>& fila)
{
    for (const auto& [columna, valor] : fila)
        html.replace(QLatin1Char('{') + columna + QLatin1Char('}'), valor.toString(), Qt::CaseInsensitive);
    return html;
}

QString ColumnaEstado(BaseTemporal& b, const QString& tabla)
{
    const QSqlRecord r = b.db.record(tabla);
    for (int i = 0; i < r.count(); ++i)
        if (r.fieldName(i).endsWith(QLatin1String("_Estado"), Qt::CaseInsensitive))
            return r.fieldName(i);
    ADD_FAILURE() << "sin columna de estado: " << tabla.toStdString();
    return {};
}

QStringList FoliosPendientes(BaseTemporal& b, const QString& sqlListado)
{
    QStringList folios;
    auto q = b.Ejecutar(sqlListado);
    while (q.next()) {
        EXPECT_EQ(q.value(0).metaType().id(), QMetaType::QString) << "el folio debe ser texto";
        folios << q.value(0).toString();
    }
    return folios;
}

bool FilaContiene(const Fila& fila, const QString& valor)
{
    bool okValor = false;
    const double numero = QString(valor).remove(QLatin1Char(',')).toDouble(&okValor);
    for (const auto& [columna, v] : fila) {
        if (v.toString() == valor)
            return true;
        bool ok = false;
        if (okValor && std::abs(v.toDouble(&ok) - numero) < 0.005 && ok)
            return true;
    }
    return false;
}

Fila Documento(BaseTemporal& b, const QString& tabla, const QString& clave, const QString& folio)
{
    QSqlQuery q(b.db);
    q.prepare(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(tabla, clave));
    q.addBindValue(folio);
    Fila f;
    if (q.exec() && q.next())
        for (int i = 0; i < q.record().count(); ++i)
            f[q.record().fieldName(i)] = q.value(i);
    return f;
}

const QString kOperador = QStringLiteral("ADMIN");
const QString kFecha = QStringLiteral("2025-07-01T10:11:12");

} // namespace

TEST(EsquemaBaseDatos, CrearDosVecesConservaTablasFilasYOrdenDeColumnas)
{
    BaseTemporal b;
    ASSERT_NO_THROW(EsquemaBaseDatos::Crear(b.db));
    b.Ejecutar(QStringLiteral("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion, Ca_Sql)"
                              " VALUES ('0009', 'SELECT ''x''')"));
    ASSERT_NO_THROW(EsquemaBaseDatos::Crear(b.db));

    for (const auto& t : EsquemaBaseDatos::NombresTablas())
        EXPECT_TRUE(b.db.tables().contains(t)) << t.toStdString();
    // The insert does not name the state: the default makes the row active.
    EXPECT_EQ(b.Valor(QStringLiteral("SELECT Es_Cve_Estado FROM Configuracion_Autorizacion")).toString(), "AC");
    EXPECT_EQ(b.Valor(QStringLiteral("SELECT Ca_Sql FROM Configuracion_Autorizacion")).toString(), "SELECT 'x'");

    const QStringList esperadas{
        "Ca_Cve_Configuracion_Autorizacion", "Ca_Descripcion", "Ca_Etiqueta", "Ca_Formato_Impresion", "Ca_Tabla",
        "Ca_Tabla_Clave", "Ca_Sql", "Ca_Sql_Autoriazion", "Ca_Campos_Autorizar", "Ca_Sql_Plantilla",
        "Ca_Plantilla_Autorizacion", "Ca_Sql_Rechazar", "Fecha_Alta", "Fecha_Ult_Modif", "Oper_Alta", "Oper_Ult_Modif",
        "Oper_Baja", "Fecha_Baja", "Es_Cve_Estado"};
    const QSqlRecord r = b.db.record(QStringLiteral("Configuracion_Autorizacion"));
    QStringList reales;
    for (int i = 0; i < r.count(); ++i)
        reales << r.fieldName(i);
    EXPECT_EQ(reales, esperadas);

    // The key is unique.
    QSqlQuery q(b.db);
    EXPECT_FALSE(q.exec(QStringLiteral("INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion) VALUES ('0009')")));
}

TEST(EsquemaBaseDatos, GuionSqlServerDefineLasMismasTablasYColumnas)
{
    const QString ruta = QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + QStringLiteral("/../../sql/orvinda_sqlserver.sql");
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        GTEST_SKIP() << "no se encuentra " << ruta.toStdString();
    const QString guion = QString::fromUtf8(f.readAll());

    BaseTemporal b;
    EsquemaBaseDatos::Crear(b.db);

    static const QRegularExpression reTabla(QStringLiteral("CREATE TABLE dbo\\.(\\w+) \\((.*?)\\n    \\);"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression reColumna(QStringLiteral("^\\s+(\\w+)\\s+(\\w+(?:\\([\\w,]+\\))?)"));
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
            QString tipo = q.value(2).toString();
            tipo.replace(QLatin1String("VARCHAR"), QLatin1String("NVARCHAR"));
            if (tipo == QLatin1String("TEXT"))
                tipo = QStringLiteral("NVARCHAR(MAX)");
            if (tipo == QLatin1String("INTEGER"))
                tipo = QStringLiteral("INT");
            columnasSqlite << q.value(1).toString() + QLatin1Char(' ') + tipo;
        }
        EXPECT_EQ(columnasGuion, columnasSqlite) << tabla.toStdString();
    }
    EXPECT_EQ(tablasGuion, EsquemaBaseDatos::NombresTablas());
}

TEST(DatosDemo, ConfiguracionesActivasYDadaDeBaja)
{
    BaseTemporal b;
    EXPECT_FALSE(DatosDemo::Existe(b.db));
    EsquemaBaseDatos::Crear(b.db);
    EXPECT_FALSE(DatosDemo::Existe(b.db));
    ASSERT_NO_THROW(DatosDemo::Cargar(b.db));
    EXPECT_TRUE(DatosDemo::Existe(b.db));

    QStringList estados;
    for (const auto& c : Configuraciones(b)) {
        const QString clave = T(c, "Ca_Cve_Configuracion_Autorizacion");
        estados << clave + QLatin1Char('=') + T(c, "Es_Cve_Estado");
        SCOPED_TRACE(clave.toStdString());
        EXPECT_FALSE(T(c, "Ca_Etiqueta").isEmpty());
        EXPECT_LE(T(c, "Ca_Etiqueta").size(), 30);
        EXPECT_LE(T(c, "Ca_Descripcion").size(), 50);
        EXPECT_LE(T(c, "Ca_Tabla").size(), 30);
        EXPECT_EQ(T(c, "Ca_Tabla"), T(c, "Ca_Tabla").toUpper());
        EXPECT_TRUE(b.db.tables().contains(T(c, "Ca_Tabla"), Qt::CaseInsensitive));
        EXPECT_TRUE(b.db.record(T(c, "Ca_Tabla")).contains(T(c, "Ca_Tabla_Clave")));
        EXPECT_FALSE(T(c, "Fecha_Alta").isEmpty());
        EXPECT_FALSE(T(c, "Oper_Alta").isEmpty());
        EXPECT_FALSE(T(c, "Fecha_Ult_Modif").isEmpty());
        const bool baja = T(c, "Es_Cve_Estado") == QLatin1String("BA");
        EXPECT_EQ(!T(c, "Oper_Baja").isEmpty(), baja);
        EXPECT_EQ(!c.at("Fecha_Baja").isNull(), baja);
        EXPECT_EQ(T(c, "Fecha_Alta").size(), 19);

        // The editor writes the four SQL texts as double-quoted literals and
        // the template as a single-quoted one; each statement runs alone.
        for (const char* sql : {"Ca_Sql", "Ca_Sql_Autoriazion", "Ca_Sql_Plantilla", "Ca_Sql_Rechazar"}) {
            EXPECT_FALSE(T(c, sql).contains(QLatin1Char('"'))) << sql;
            EXPECT_FALSE(T(c, sql).contains(QLatin1Char(';'))) << sql;
            EXPECT_FALSE(T(c, sql).contains(QLatin1String("||"))) << sql;
        }
        EXPECT_FALSE(T(c, "Ca_Plantilla_Autorizacion").contains(QLatin1Char('\'')));
        EXPECT_FALSE(T(c, "Ca_Campos_Autorizar").contains(QLatin1Char(' ')));
    }
    EXPECT_EQ(estados, QStringList({"0001=AC", "0002=AC", "0003=AC", "0004=BA"}));

    // Required, optional and comment fields are all represented.
    const QString todos = b.Valor(QStringLiteral("SELECT Ca_Campos_Autorizar FROM Configuracion_Autorizacion"
                                                 " WHERE Ca_Cve_Configuracion_Autorizacion = '0001'")).toString();
    EXPECT_EQ(todos, "*MONTO_AUTORIZADO,CUENTA_PRESUPUESTAL,COMENTARIO_DOCUMENTO");
}

TEST(DatosDemo, ListadoPlantillaYCamposDeCadaConfiguracion)
{
    BaseTemporal b;
    DatosDemo::Cargar(b.db);

    for (const auto& c : Configuraciones(b)) {
        const QString clave = T(c, "Ca_Cve_Configuracion_Autorizacion");
        SCOPED_TRACE(clave.toStdString());
        const QString tabla = T(c, "Ca_Tabla");

        const QStringList folios = FoliosPendientes(b, T(c, "Ca_Sql"));
        const int pendientes = b.Valor(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = 'PE'").arg(tabla, ColumnaEstado(b, tabla))).toInt();
        EXPECT_GE(folios.size(), 20);
        EXPECT_EQ(folios.size(), pendientes);
        EXPECT_LT(pendientes, b.Filas(tabla)) << "también debe haber documentos ya revisados";
        QStringList ordenados = folios;
        ordenados.sort();
        ordenados.removeDuplicates();
        EXPECT_EQ(folios, ordenados);
        ASSERT_FALSE(folios.isEmpty());

        for (const QString& folio : {folios.first(), folios.last()}) {
            const auto fila = PrimeraFila(b, T(c, "Ca_Sql_Plantilla").replace(QLatin1String("{FOLIO}"), folio));
            QStringList columnas;
            for (const auto& [nombre, valor] : fila) {
                columnas << nombre;
                // A NULL would make the rendering fail, a brace would be taken for a token.
                EXPECT_FALSE(valor.isNull()) << nombre.toStdString();
                EXPECT_FALSE(valor.toString().contains(QLatin1Char('{'))) << nombre.toStdString();
            }
            const QString html = T(c, "Ca_Plantilla_Autorizacion");
            for (const auto& campo : CamposDe(T(c, "Ca_Campos_Autorizar"))) {
                EXPECT_TRUE(columnas.contains(campo.nombre)) << campo.nombre.toStdString();
                // A number would reach the page in the regional format, thousands separators and all.
                for (const auto& [nombre, valor] : fila) {
                    if (nombre == campo.nombre) {
                        EXPECT_EQ(valor.metaType().id(), QMetaType::QString) << nombre.toStdString();
                    }
                }
                EXPECT_TRUE(html.contains(QStringLiteral("id=\"%1\" name=\"%1\"").arg(campo.nombre)))
                    << "sin elemento de página para " << campo.nombre.toStdString();
            }
            for (const auto& m : Marcadores(html))
                EXPECT_TRUE(columnas.contains(m.toUpper())) << "marcador sin columna: " << m.toStdString();
            const QString lleno = Rellenar(html, fila);
            EXPECT_TRUE(Marcadores(lleno).isEmpty());
            EXPECT_TRUE(lleno.contains(folio));
            // Documents with lines show them in the page.
            if (columnas.contains(QLatin1String("DETALLE_HTML"))) {
                EXPECT_TRUE(lleno.contains(QLatin1String("<tr><td class=\"num\">1</td>")));
            }
        }
    }
}

TEST(DatosDemo, AutorizarYRechazarCambianElDocumentoUnaSolaVez)
{
    BaseTemporal b;
    DatosDemo::Cargar(b.db);

    for (const auto& c : Configuraciones(b)) {
        const QString clave = T(c, "Ca_Cve_Configuracion_Autorizacion");
        SCOPED_TRACE(clave.toStdString());
        const QString tabla = T(c, "Ca_Tabla"), claveTabla = T(c, "Ca_Tabla_Clave");
        const QString estado = ColumnaEstado(b, tabla);
        const QStringList folios = FoliosPendientes(b, T(c, "Ca_Sql"));
        ASSERT_GE(folios.size(), 2);

        // The reviewer keeps the proposed values and types what is missing.
        const QString aAutorizar = folios[0];
        const auto fila = PrimeraFila(b, T(c, "Ca_Sql_Plantilla").replace(QLatin1String("{FOLIO}"), aAutorizar));
        QString sentencia = T(c, "Ca_Sql_Autoriazion");
        std::vector<QString> capturados;
        for (const auto& campo : CamposDe(T(c, "Ca_Campos_Autorizar"))) {
            QString valor;
            for (const auto& [nombre, v] : fila)
                if (nombre == campo.nombre)
                    valor = v.toString();
            if (campo.nombre == QLatin1String("COMENTARIO_DOCUMENTO"))
                valor = QStringLiteral("Revisado en prueba");
            else if (valor.isEmpty() && campo.obligatorio)
                valor = QStringLiteral("PP-2025-042");
            else if (bool numero = false; std::abs(valor.toDouble(&numero)) >= 1000 && numero)
                valor = QLocale(QLocale::English, QLocale::UnitedStates).toString(valor.toDouble(), 'f', 2); // as typed by hand
            capturados.push_back(valor);
            sentencia.replace(QLatin1Char('{') + campo.nombre + QLatin1Char('}'), valor);
        }
        sentencia.replace(QLatin1String("{FOLIO}"), aAutorizar).replace(QLatin1String("{OPERADOR}"), kOperador)
            .replace(QLatin1String("{FECHA}"), kFecha);
        EXPECT_TRUE(Marcadores(sentencia).isEmpty()) << sentencia.toStdString();

        EXPECT_EQ(b.Ejecutar(sentencia).numRowsAffected(), 1);
        const Fila autorizado = Documento(b, tabla, claveTabla, aAutorizar);
        EXPECT_EQ(autorizado.at(estado).toString(), "AU");
        EXPECT_TRUE(FilaContiene(autorizado, kOperador));
        EXPECT_TRUE(FilaContiene(autorizado, kFecha));
        for (const auto& v : capturados)
            EXPECT_TRUE(FilaContiene(autorizado, v)) << "valor capturado no guardado: " << v.toStdString();
        EXPECT_EQ(b.Ejecutar(sentencia).numRowsAffected(), 0);
        EXPECT_FALSE(FoliosPendientes(b, T(c, "Ca_Sql")).contains(aAutorizar));

        const QString aRechazar = folios[1];
        QString rechazo = T(c, "Ca_Sql_Rechazar");
        rechazo.replace(QLatin1String("{FOLIO}"), aRechazar).replace(QLatin1String("{OPERADOR}"), kOperador)
            .replace(QLatin1String("{FECHA}"), kFecha);
        EXPECT_EQ(b.Ejecutar(rechazo).numRowsAffected(), 1);
        EXPECT_EQ(b.Ejecutar(rechazo).numRowsAffected(), 0);
        const Fila rechazado = Documento(b, tabla, claveTabla, aRechazar);
        EXPECT_EQ(rechazado.at(estado).toString(), "RE");
        EXPECT_TRUE(FilaContiene(rechazado, kFecha));

        // A rejected document cannot be authorized afterwards, nor the other way round.
        EXPECT_EQ(b.Ejecutar(QString(sentencia).replace(aAutorizar, aRechazar)).numRowsAffected(), 0);
        EXPECT_EQ(b.Ejecutar(QString(rechazo).replace(aRechazar, aAutorizar)).numRowsAffected(), 0);
        EXPECT_EQ(Documento(b, tabla, claveTabla, aAutorizar).at(estado).toString(), "AU");
        EXPECT_EQ(FoliosPendientes(b, T(c, "Ca_Sql")).size(), folios.size() - 2);
    }
}

TEST(DatosDemo, FormatoDeImpresionDeOrdenAutorizada)
{
    BaseTemporal b;
    DatosDemo::Cargar(b.db);

    const QString formato = b.Valor(QStringLiteral("SELECT Ca_Formato_Impresion FROM Configuracion_Autorizacion"
                                                   " WHERE Ca_Cve_Configuracion_Autorizacion = '0002'")).toString();
    ASSERT_EQ(formato, "OC_AUTORIZADA");
    EXPECT_EQ(b.Valor(QStringLiteral("SELECT COUNT(*) FROM Configuracion_Autorizacion WHERE Ca_Formato_Impresion <> ''")).toInt(), 1);
    auto q = b.Ejecutar(QStringLiteral("SELECT Fi_Sql, Fi_Plantilla FROM Formatos_Impresion WHERE Fi_Cve_Formato = 'OC_AUTORIZADA'"));
    ASSERT_TRUE(q.next());
    const QString sql = q.value(0).toString(), plantilla = q.value(1).toString();

    const QString autorizada = b.Valor(QStringLiteral("SELECT MIN(Oc_Folio) FROM Ordenes_Compra WHERE Oc_Estado = 'AU'")).toString();
    const QString pendiente = b.Valor(QStringLiteral("SELECT MIN(Oc_Folio) FROM Ordenes_Compra WHERE Oc_Estado = 'PE'")).toString();
    ASSERT_FALSE(autorizada.isEmpty());
    ASSERT_FALSE(pendiente.isEmpty());

    const auto fila = PrimeraFila(b, QString(sql).replace(QLatin1String("{FOLIO}"), autorizada));
    for (const auto& [nombre, valor] : fila)
        EXPECT_FALSE(valor.isNull()) << nombre.toStdString();
    const QString lleno = Rellenar(plantilla, fila);
    EXPECT_TRUE(Marcadores(lleno).isEmpty()) << Marcadores(lleno).join(u',').toStdString();
    EXPECT_TRUE(lleno.contains(autorizada));
    EXPECT_TRUE(lleno.contains(QLatin1String("<tr>")));

    // A pending order is not printed as authorized.
    auto vacia = b.Ejecutar(QString(sql).replace(QLatin1String("{FOLIO}"), pendiente));
    EXPECT_FALSE(vacia.next());
}

TEST(DatosDemo, ParametrosOperadoresYDocumentosCuadrados)
{
    BaseTemporal b;
    DatosDemo::Cargar(b.db);

    const auto parametro = [&](const char* clave) {
        auto q = b.Ejecutar(QStringLiteral("SELECT Pg_Ambito, Pg_Tipo, Pg_Valor FROM Parametros_Generales WHERE Pg_Cve_Parametro = '%1'")
                                .arg(QLatin1String(clave)));
        return q.next() ? QStringLiteral("%1 %2 %3").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString()) : QString();
    };
    EXPECT_EQ(parametro("GEN_URL"), "1 T orvinda://web");
    EXPECT_EQ(parametro("CAT_AUTOCLAVE"), "0 B 1");
    EXPECT_EQ(parametro("FTO_CONFIGURACION_AUTORIZACION"), "0 T 0000");

    EXPECT_EQ(b.Valor(QStringLiteral("SELECT Op_Nivel FROM Operadores WHERE Op_Cve_Operador = 'ADMIN'")).toInt(), 4);
    EXPECT_EQ(b.Valor(QStringLiteral("SELECT Op_Nivel FROM Operadores WHERE Op_Cve_Operador = 'CAPTURA'")).toInt(), 3);
    EXPECT_EQ(b.Valor(QStringLiteral("SELECT COUNT(*) FROM Operadores WHERE Op_Nombre = ''")).toInt(), 0);

    // Header totals equal the lines, IVA is 16 %, and every document has 1 to 8 lines.
    struct Tipo { const char* cabecera; const char* detalle; const char* folio; const char* importe; const char* prefijo; };
    for (const Tipo& t : {Tipo{"Requisiciones_Compra", "Requisiciones_Compra_Detalle", "Rq_Folio", "Rd_Importe", "Rq"},
                          Tipo{"Ordenes_Compra", "Ordenes_Compra_Detalle", "Oc_Folio", "Od_Importe", "Oc"},
                          Tipo{"Reportes_Gastos", "Reportes_Gastos_Detalle", "Rg_Folio", "Gd_Subtotal", "Rg"}}) {
        SCOPED_TRACE(t.cabecera);
        auto q = b.Ejecutar(QStringLiteral(
            "SELECT h.%3, h.%5_Subtotal, h.%5_Iva, h.%5_Total, COUNT(*), SUM(d.%4)"
            " FROM %1 h JOIN %2 d ON d.%3 = h.%3 GROUP BY h.%3, h.%5_Subtotal, h.%5_Iva, h.%5_Total")
                                .arg(QLatin1String(t.cabecera), QLatin1String(t.detalle), QLatin1String(t.folio),
                                     QLatin1String(t.importe), QLatin1String(t.prefijo)));
        int documentos = 0;
        while (q.next()) {
            ++documentos;
            const double subtotal = q.value(1).toDouble(), iva = q.value(2).toDouble(), total = q.value(3).toDouble();
            EXPECT_NEAR(subtotal, q.value(5).toDouble(), 0.005) << q.value(0).toString().toStdString();
            EXPECT_NEAR(subtotal + iva, total, 0.005);
            if (t.prefijo != std::string("Rg")) { // expense lines may carry no IVA
                EXPECT_NEAR(iva, subtotal * 0.16, 0.0051);
            }
            EXPECT_GE(q.value(4).toInt(), 1);
            EXPECT_LE(q.value(4).toInt(), 8);
        }
        EXPECT_EQ(documentos, b.Filas(QLatin1String(t.cabecera))) << "documento sin partidas";
    }
    // Every rejection left its comment.
    EXPECT_EQ(b.Valor(QStringLiteral("SELECT COUNT(*) FROM Requisiciones_Compra r WHERE r.Rq_Estado = 'RE' AND NOT EXISTS"
                                     " (SELECT 1 FROM Comentarios_Documento c WHERE c.Cd_Tabla = 'REQUISICIONES_COMPRA'"
                                     " AND c.Cd_Folio = r.Rq_Folio)")).toInt(), 0);
}

TEST(DatosDemo, CadaCargaDaElMismoContenido)
{
    BaseTemporal uno, otro;
    DatosDemo::Cargar(uno.db);
    DatosDemo::Cargar(otro.db);
    const QString volcado = uno.Volcado();
    EXPECT_GT(volcado.size(), 100000);
    EXPECT_TRUE(volcado == otro.Volcado());
    EXPECT_LE(uno.Valor(QStringLiteral("SELECT MAX(Rq_Fecha) FROM Requisiciones_Compra")).toString(),
              DatosDemo::FechaBase().toString(Qt::ISODate));
}

TEST(DatosDemo, UnaFallaDentroDeCargarDejaLaBaseComoEstaba)
{
    BaseTemporal b;
    EsquemaBaseDatos::Crear(b.db);
    b.Ejecutar(QStringLiteral("INSERT INTO Formatos_Impresion (Fi_Cve_Formato, Fi_Descripcion) VALUES ('OC_AUTORIZADA', 'previo')"));
    const QString antes = b.Volcado();

    EXPECT_THROW(DatosDemo::Cargar(b.db), std::runtime_error);
    EXPECT_EQ(b.Volcado(), antes);
    EXPECT_FALSE(DatosDemo::Existe(b.db));
    for (const auto& t : EsquemaBaseDatos::NombresTablas()) {
        if (t != QLatin1String("Formatos_Impresion")) {
            EXPECT_EQ(b.Filas(t), 0) << t.toStdString();
        }
    }

    // No transaction is left open: once the clash is gone the load succeeds.
    b.Ejecutar(QStringLiteral("DELETE FROM Formatos_Impresion"));
    EXPECT_NO_THROW(DatosDemo::Cargar(b.db));
    EXPECT_TRUE(DatosDemo::Existe(b.db));
}
