#include "basedatos/EsquemaBaseDatos.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

namespace orvinda {

namespace {

// SQLite keeps DATE and DATETIME columns as ISO text ('yyyy-MM-dd',
// 'yyyy-MM-ddTHH:mm:ss'); money is DECIMAL(18,2), which SQLite stores as a
// number. Document states: 'PE' pending, 'AU' authorized, 'RE' rejected.
constexpr DefinicionTabla kTablas[] = {
    {"Configuracion_Autorizacion",
     "CREATE TABLE IF NOT EXISTS Configuracion_Autorizacion ("
     " Ca_Cve_Configuracion_Autorizacion VARCHAR(10) NOT NULL PRIMARY KEY,"
     " Ca_Descripcion VARCHAR(50) NULL,"
     " Ca_Etiqueta VARCHAR(30) NULL,"
     " Ca_Formato_Impresion VARCHAR(30) NULL,"
     " Ca_Tabla VARCHAR(30) NULL,"
     " Ca_Tabla_Clave VARCHAR(30) NULL,"
     " Ca_Sql TEXT NULL,"
     " Ca_Sql_Autoriazion TEXT NULL,"
     " Ca_Campos_Autorizar TEXT NULL,"
     " Ca_Sql_Plantilla TEXT NULL,"
     " Ca_Plantilla_Autorizacion TEXT NULL,"
     " Ca_Sql_Rechazar TEXT NULL,"
     " Fecha_Alta DATETIME NULL,"
     " Fecha_Ult_Modif DATETIME NULL,"
     " Oper_Alta VARCHAR(10) NULL,"
     " Oper_Ult_Modif VARCHAR(10) NULL,"
     " Oper_Baja VARCHAR(10) NULL,"
     " Fecha_Baja DATETIME NULL,"
     " Es_Cve_Estado VARCHAR(2) NULL DEFAULT 'AC')",
     nullptr},
    {"Parametros_Generales",
     "CREATE TABLE IF NOT EXISTS Parametros_Generales ("
     " Pg_Cve_Parametro VARCHAR(40) NOT NULL,"
     " Pg_Ambito INTEGER NOT NULL DEFAULT 0,"
     " Pg_Tipo VARCHAR(1) NOT NULL DEFAULT 'T',"
     " Pg_Valor TEXT NULL,"
     " Pg_Descripcion VARCHAR(100) NULL,"
     " PRIMARY KEY (Pg_Cve_Parametro, Pg_Ambito))",
     nullptr},
    {"Operadores",
     "CREATE TABLE IF NOT EXISTS Operadores ("
     " Op_Cve_Operador VARCHAR(10) NOT NULL PRIMARY KEY,"
     " Op_Nombre VARCHAR(60) NOT NULL,"
     " Op_Nivel INTEGER NOT NULL DEFAULT 1,"
     " Op_Cuenta VARCHAR(128) NULL)",
     nullptr},
    {"Comentarios_Documento",
     "CREATE TABLE IF NOT EXISTS Comentarios_Documento ("
     " Cd_Id INTEGER PRIMARY KEY AUTOINCREMENT,"
     " Cd_Tabla VARCHAR(30) NOT NULL,"
     " Cd_Folio VARCHAR(30) NOT NULL,"
     " Cd_Comentario TEXT NULL,"
     " Cd_Operador VARCHAR(10) NULL,"
     " Cd_Fecha DATETIME NULL)",
     "CREATE INDEX IF NOT EXISTS IX_Comentarios_Documento_Folio"
     " ON Comentarios_Documento (Cd_Tabla, Cd_Folio)"},
    {"Formatos_Impresion",
     "CREATE TABLE IF NOT EXISTS Formatos_Impresion ("
     " Fi_Cve_Formato VARCHAR(30) NOT NULL PRIMARY KEY,"
     " Fi_Descripcion VARCHAR(60) NULL,"
     " Fi_Sql TEXT NULL,"
     " Fi_Plantilla TEXT NULL)",
     nullptr},
    // The decision log, one row per authorization, rejection and printing,
    // each sealed with the hash of the one before. The date is text as the
    // server wrote it, so the row reads back exactly as it was hashed.
    {"Bitacora_Decisiones",
     "CREATE TABLE IF NOT EXISTS Bitacora_Decisiones ("
     " Bd_Id INTEGER NOT NULL PRIMARY KEY,"
     " Bd_Fecha VARCHAR(26) NOT NULL,"
     " Bd_Operador VARCHAR(10) NOT NULL,"
     " Bd_Cuenta VARCHAR(128) NULL,"
     " Bd_Maquina VARCHAR(255) NULL,"
     " Bd_Clave VARCHAR(10) NULL,"
     " Bd_Tabla VARCHAR(30) NULL,"
     " Bd_Folio VARCHAR(100) NULL,"
     " Bd_Decision VARCHAR(2) NOT NULL,"
     " Bd_Valores TEXT NULL,"
     " Bd_Sentencia TEXT NULL,"
     " Bd_Filas INTEGER NULL,"
     " Bd_Comentario TEXT NULL,"
     " Bd_Origen VARCHAR(12) NOT NULL,"
     " Bd_Referencia INTEGER NULL,"
     " Bd_Resultado TEXT NULL,"
     " Bd_Hash_Anterior VARCHAR(64) NOT NULL,"
     " Bd_Hash VARCHAR(64) NOT NULL)",
     "CREATE INDEX IF NOT EXISTS IX_Bitacora_Decisiones_Operador"
     " ON Bitacora_Decisiones (Bd_Operador, Bd_Fecha)",
     "CREATE INDEX IF NOT EXISTS IX_Bitacora_Decisiones_Referencia"
     " ON Bitacora_Decisiones (Bd_Referencia)"},
    // The log's last id and hash, in its one row: writers lock it in turn.
    {"Bitacora_Cabeza",
     "CREATE TABLE IF NOT EXISTS Bitacora_Cabeza ("
     " Bc_Clave INTEGER NOT NULL PRIMARY KEY,"
     " Bc_Ultimo_Id INTEGER NOT NULL,"
     " Bc_Hash VARCHAR(64) NOT NULL)",
     nullptr,
     "INSERT INTO Bitacora_Cabeza (Bc_Clave, Bc_Ultimo_Id, Bc_Hash)"
     " SELECT 1, 0, '0000000000000000000000000000000000000000000000000000000000000000'"
     " WHERE NOT EXISTS (SELECT 1 FROM Bitacora_Cabeza)"},
    {"Departamentos",
     "CREATE TABLE IF NOT EXISTS Departamentos ("
     " Dp_Cve_Departamento VARCHAR(10) NOT NULL PRIMARY KEY,"
     " Dp_Nombre VARCHAR(60) NOT NULL,"
     " Dp_Centro_Costo VARCHAR(20) NOT NULL,"
     " Dp_Cuenta_Presupuestal VARCHAR(30) NOT NULL,"
     " Dp_Cuenta_Gastos VARCHAR(30) NOT NULL)",
     nullptr},
    {"Empleados",
     "CREATE TABLE IF NOT EXISTS Empleados ("
     " Em_Cve_Empleado VARCHAR(10) NOT NULL PRIMARY KEY,"
     " Em_Nombre VARCHAR(60) NOT NULL,"
     " Em_Puesto VARCHAR(60) NOT NULL,"
     " Dp_Cve_Departamento VARCHAR(10) NOT NULL,"
     " Em_Fecha_Ingreso DATE NOT NULL,"
     " Op_Cve_Operador VARCHAR(10) NULL)",
     nullptr},
    {"Proveedores",
     "CREATE TABLE IF NOT EXISTS Proveedores ("
     " Pv_Cve_Proveedor VARCHAR(10) NOT NULL PRIMARY KEY,"
     " Pv_Rfc VARCHAR(13) NOT NULL,"
     " Pv_Razon_Social VARCHAR(100) NOT NULL,"
     " Pv_Domicilio VARCHAR(150) NOT NULL,"
     " Pv_Dias_Credito INTEGER NOT NULL DEFAULT 0)",
     nullptr},
    {"Requisiciones_Compra",
     "CREATE TABLE IF NOT EXISTS Requisiciones_Compra ("
     " Rq_Folio VARCHAR(20) NOT NULL PRIMARY KEY,"
     " Rq_Fecha DATE NOT NULL,"
     " Rq_Fecha_Requerida DATE NOT NULL,"
     " Em_Cve_Empleado VARCHAR(10) NOT NULL,"
     " Dp_Cve_Departamento VARCHAR(10) NOT NULL,"
     " Rq_Prioridad VARCHAR(10) NOT NULL,"
     " Rq_Justificacion VARCHAR(200) NOT NULL,"
     " Rq_Subtotal DECIMAL(18,2) NOT NULL,"
     " Rq_Iva DECIMAL(18,2) NOT NULL,"
     " Rq_Total DECIMAL(18,2) NOT NULL,"
     " Rq_Detalle_Html TEXT NOT NULL,"
     " Rq_Estado VARCHAR(2) NOT NULL DEFAULT 'PE',"
     " Rq_Monto_Autorizado DECIMAL(18,2) NULL,"
     " Rq_Cuenta_Presupuestal VARCHAR(30) NULL,"
     " Rq_Comentario_Revision TEXT NULL,"
     " Rq_Oper_Autoriza VARCHAR(10) NULL,"
     " Rq_Fecha_Autoriza DATETIME NULL,"
     " Rq_Oper_Rechaza VARCHAR(10) NULL,"
     " Rq_Fecha_Rechaza DATETIME NULL)",
     "CREATE INDEX IF NOT EXISTS IX_Requisiciones_Compra_Estado"
     " ON Requisiciones_Compra (Rq_Estado, Rq_Folio)"},
    {"Requisiciones_Compra_Detalle",
     "CREATE TABLE IF NOT EXISTS Requisiciones_Compra_Detalle ("
     " Rq_Folio VARCHAR(20) NOT NULL REFERENCES Requisiciones_Compra (Rq_Folio),"
     " Rd_Partida INTEGER NOT NULL,"
     " Rd_Articulo VARCHAR(20) NOT NULL,"
     " Rd_Descripcion VARCHAR(100) NOT NULL,"
     " Rd_Unidad VARCHAR(10) NOT NULL,"
     " Rd_Cantidad DECIMAL(18,2) NOT NULL,"
     " Rd_Precio DECIMAL(18,2) NOT NULL,"
     " Rd_Importe DECIMAL(18,2) NOT NULL,"
     " PRIMARY KEY (Rq_Folio, Rd_Partida))",
     nullptr},
    {"Ordenes_Compra",
     "CREATE TABLE IF NOT EXISTS Ordenes_Compra ("
     " Oc_Folio VARCHAR(20) NOT NULL PRIMARY KEY,"
     " Oc_Fecha DATE NOT NULL,"
     " Pv_Cve_Proveedor VARCHAR(10) NOT NULL,"
     " Dp_Cve_Departamento VARCHAR(10) NOT NULL,"
     " Em_Cve_Comprador VARCHAR(10) NOT NULL,"
     " Oc_Condiciones_Pago VARCHAR(40) NOT NULL,"
     " Oc_Fecha_Entrega DATE NOT NULL,"
     " Oc_Lugar_Entrega VARCHAR(100) NOT NULL,"
     " Oc_Moneda VARCHAR(3) NOT NULL DEFAULT 'MXN',"
     " Oc_Subtotal DECIMAL(18,2) NOT NULL,"
     " Oc_Iva DECIMAL(18,2) NOT NULL,"
     " Oc_Total DECIMAL(18,2) NOT NULL,"
     " Oc_Detalle_Html TEXT NOT NULL,"
     " Oc_Estado VARCHAR(2) NOT NULL DEFAULT 'PE',"
     " Oc_Partida_Presupuestal VARCHAR(30) NULL,"
     " Oc_Comentario_Revision TEXT NULL,"
     " Oc_Oper_Autoriza VARCHAR(10) NULL,"
     " Oc_Fecha_Autoriza DATETIME NULL,"
     " Oc_Oper_Rechaza VARCHAR(10) NULL,"
     " Oc_Fecha_Rechaza DATETIME NULL)",
     "CREATE INDEX IF NOT EXISTS IX_Ordenes_Compra_Estado"
     " ON Ordenes_Compra (Oc_Estado, Oc_Folio)"},
    {"Ordenes_Compra_Detalle",
     "CREATE TABLE IF NOT EXISTS Ordenes_Compra_Detalle ("
     " Oc_Folio VARCHAR(20) NOT NULL REFERENCES Ordenes_Compra (Oc_Folio),"
     " Od_Partida INTEGER NOT NULL,"
     " Od_Articulo VARCHAR(20) NOT NULL,"
     " Od_Descripcion VARCHAR(100) NOT NULL,"
     " Od_Unidad VARCHAR(10) NOT NULL,"
     " Od_Cantidad DECIMAL(18,2) NOT NULL,"
     " Od_Precio DECIMAL(18,2) NOT NULL,"
     " Od_Importe DECIMAL(18,2) NOT NULL,"
     " PRIMARY KEY (Oc_Folio, Od_Partida))",
     nullptr},
    {"Reportes_Gastos",
     "CREATE TABLE IF NOT EXISTS Reportes_Gastos ("
     " Rg_Folio VARCHAR(20) NOT NULL PRIMARY KEY,"
     " Rg_Fecha DATE NOT NULL,"
     " Em_Cve_Empleado VARCHAR(10) NOT NULL,"
     " Dp_Cve_Departamento VARCHAR(10) NOT NULL,"
     " Rg_Motivo VARCHAR(200) NOT NULL,"
     " Rg_Destino VARCHAR(60) NOT NULL,"
     " Rg_Periodo_Inicio DATE NOT NULL,"
     " Rg_Periodo_Fin DATE NOT NULL,"
     " Rg_Subtotal DECIMAL(18,2) NOT NULL,"
     " Rg_Iva DECIMAL(18,2) NOT NULL,"
     " Rg_Total DECIMAL(18,2) NOT NULL,"
     " Rg_Anticipo DECIMAL(18,2) NOT NULL DEFAULT 0,"
     " Rg_Por_Reembolsar DECIMAL(18,2) NOT NULL,"
     " Rg_Detalle_Html TEXT NOT NULL,"
     " Rg_Estado VARCHAR(2) NOT NULL DEFAULT 'PE',"
     " Rg_Monto_Reembolso DECIMAL(18,2) NULL,"
     " Rg_Cuenta_Contable VARCHAR(30) NULL,"
     " Rg_Comentario_Revision TEXT NULL,"
     " Rg_Oper_Autoriza VARCHAR(10) NULL,"
     " Rg_Fecha_Autoriza DATETIME NULL,"
     " Rg_Oper_Rechaza VARCHAR(10) NULL,"
     " Rg_Fecha_Rechaza DATETIME NULL)",
     "CREATE INDEX IF NOT EXISTS IX_Reportes_Gastos_Estado"
     " ON Reportes_Gastos (Rg_Estado, Rg_Folio)"},
    {"Reportes_Gastos_Detalle",
     "CREATE TABLE IF NOT EXISTS Reportes_Gastos_Detalle ("
     " Rg_Folio VARCHAR(20) NOT NULL REFERENCES Reportes_Gastos (Rg_Folio),"
     " Gd_Partida INTEGER NOT NULL,"
     " Gd_Fecha DATE NOT NULL,"
     " Gd_Concepto VARCHAR(40) NOT NULL,"
     " Gd_Proveedor VARCHAR(100) NOT NULL,"
     " Gd_Comprobante VARCHAR(40) NOT NULL,"
     " Gd_Subtotal DECIMAL(18,2) NOT NULL,"
     " Gd_Iva DECIMAL(18,2) NOT NULL,"
     " Gd_Importe DECIMAL(18,2) NOT NULL,"
     " PRIMARY KEY (Rg_Folio, Gd_Partida))",
     nullptr},
    {"Solicitudes_Vacaciones",
     "CREATE TABLE IF NOT EXISTS Solicitudes_Vacaciones ("
     " Sv_Folio VARCHAR(20) NOT NULL PRIMARY KEY,"
     " Sv_Fecha DATE NOT NULL,"
     " Em_Cve_Empleado VARCHAR(10) NOT NULL,"
     " Dp_Cve_Departamento VARCHAR(10) NOT NULL,"
     " Sv_Periodo VARCHAR(20) NOT NULL,"
     " Sv_Fecha_Inicio DATE NOT NULL,"
     " Sv_Fecha_Fin DATE NOT NULL,"
     " Sv_Dias INTEGER NOT NULL,"
     " Sv_Dias_Disponibles INTEGER NOT NULL,"
     " Sv_Observaciones VARCHAR(200) NOT NULL,"
     " Sv_Estado VARCHAR(2) NOT NULL DEFAULT 'PE',"
     " Sv_Dias_Autorizados INTEGER NULL,"
     " Sv_Comentario_Revision TEXT NULL,"
     " Sv_Oper_Autoriza VARCHAR(10) NULL,"
     " Sv_Fecha_Autoriza DATETIME NULL,"
     " Sv_Oper_Rechaza VARCHAR(10) NULL,"
     " Sv_Fecha_Rechaza DATETIME NULL)",
     "CREATE INDEX IF NOT EXISTS IX_Solicitudes_Vacaciones_Estado"
     " ON Solicitudes_Vacaciones (Sv_Estado, Sv_Folio)"},
};

} // namespace

std::span<const DefinicionTabla> EsquemaBaseDatos::Tablas()
{
    return kTablas;
}

QStringList EsquemaBaseDatos::NombresTablas()
{
    QStringList nombres;
    for (const auto& t : kTablas)
        nombres << QString::fromLatin1(t.nombre);
    return nombres;
}

EsquemaBaseDatos::Dialecto EsquemaBaseDatos::DialectoDe(QSqlDatabase& db)
{
    if (db.driverName() == QLatin1String("QSQLITE"))
        return Dialecto::SQLite;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT version()")) && q.next()
        && q.value(0).toString().contains(QLatin1String("PostgreSQL")))
        return Dialecto::PostgreSQL;
    return Dialecto::SqlServer;
}

QString EsquemaBaseDatos::EnDialecto(const char* sentenciaSqlite, Dialecto dialecto)
{
    QString s = QString::fromLatin1(sentenciaSqlite);
    switch (dialecto) {
    case Dialecto::SQLite: break;
    case Dialecto::PostgreSQL:
        s.replace(QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT"), QLatin1String("SERIAL PRIMARY KEY"));
        s.replace(QRegularExpression(QStringLiteral("\\bDATETIME\\b")), QStringLiteral("TIMESTAMP"));
        break;
    case Dialecto::SqlServer: {
        // No IF NOT EXISTS in its CREATE statements: the guard goes in front.
        s.replace(QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT"),
                  QLatin1String("INTEGER IDENTITY(1,1) PRIMARY KEY"));
        s.replace(QRegularExpression(QStringLiteral("\\bTEXT\\b")), QStringLiteral("NVARCHAR(MAX)"));
        static const QRegularExpression tabla(QStringLiteral("^CREATE TABLE IF NOT EXISTS (\\w+)"));
        static const QRegularExpression indice(QStringLiteral("^CREATE INDEX IF NOT EXISTS (\\w+)\\s+ON (\\w+)"));
        if (const auto m = tabla.match(s); m.hasMatch())
            s = QStringLiteral("IF OBJECT_ID('%1') IS NULL CREATE TABLE %1").arg(m.captured(1))
                + s.mid(m.capturedEnd());
        else if (const auto i = indice.match(s); i.hasMatch())
            s = QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = '%1') CREATE INDEX %1 ON %2")
                    .arg(i.captured(1), i.captured(2))
                + s.mid(i.capturedEnd());
        break;
    }
    }
    return s;
}

QStringList EsquemaBaseDatos::Sentencias(const DefinicionTabla& tabla, Dialecto dialecto)
{
    QStringList sentencias{EnDialecto(tabla.sqlite, dialecto)};
    for (const char* s : {tabla.indiceSqlite, tabla.complementoSqlite})
        if (s)
            sentencias << EnDialecto(s, dialecto);
    return sentencias;
}

void EsquemaBaseDatos::Crear(QSqlDatabase& db)
{
    const Dialecto dialecto = DialectoDe(db);
    if (!db.transaction())
        throw std::runtime_error(("No se pudo iniciar la transacción: " + db.lastError().text()).toStdString());

    QSqlQuery q(db);
    const auto ejecutar = [&](const char* tabla, const QString& sentencia) {
        if (!q.exec(sentencia)) {
            const QString error = QStringLiteral("Tabla %1: %2").arg(QString::fromLatin1(tabla), q.lastError().text());
            q.finish();
            db.rollback();
            throw std::runtime_error(error.toStdString());
        }
    };
    for (const auto& t : kTablas)
        for (const QString& sentencia : Sentencias(t, dialecto))
            ejecutar(t.nombre, sentencia);
    q.finish();
    if (!db.commit()) {
        const QString error = db.lastError().text();
        db.rollback();
        throw std::runtime_error(error.toStdString());
    }
}

} // namespace orvinda
