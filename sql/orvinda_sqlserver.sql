-- Orvinda shell database for SQL Server.
--
-- Table definitions only; running the script again creates what is missing
-- and leaves existing tables and their rows alone. The embedded SQLite
-- database gets the same tables from EsquemaBaseDatos; demo content is
-- loaded by the shell started with --crear-demo.
--
-- Document states: 'PE' pending, 'AU' authorized, 'RE' rejected.
-- Configuration states: 'AC' active, 'BA' logically deleted.

SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Configuracion_Autorizacion' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Configuracion_Autorizacion (
        Ca_Cve_Configuracion_Autorizacion NVARCHAR(10) NOT NULL,
        Ca_Descripcion                    NVARCHAR(50) NULL,
        Ca_Etiqueta                       NVARCHAR(30) NULL,
        Ca_Formato_Impresion              NVARCHAR(30) NULL,
        Ca_Tabla                          NVARCHAR(30) NULL,
        Ca_Tabla_Clave                    NVARCHAR(30) NULL,
        Ca_Sql                            NVARCHAR(MAX) NULL,
        Ca_Sql_Autoriazion                NVARCHAR(MAX) NULL,
        Ca_Campos_Autorizar               NVARCHAR(MAX) NULL,
        Ca_Sql_Plantilla                  NVARCHAR(MAX) NULL,
        Ca_Plantilla_Autorizacion         NVARCHAR(MAX) NULL,
        Ca_Sql_Rechazar                   NVARCHAR(MAX) NULL,
        Fecha_Alta                        DATETIME NULL,
        Fecha_Ult_Modif                   DATETIME NULL,
        Oper_Alta                         NVARCHAR(10) NULL,
        Oper_Ult_Modif                    NVARCHAR(10) NULL,
        Oper_Baja                         NVARCHAR(10) NULL,
        Fecha_Baja                        DATETIME NULL,
        Es_Cve_Estado                     NVARCHAR(2) NULL CONSTRAINT DF_Configuracion_Autorizacion_Es_Cve_Estado DEFAULT 'AC',
        CONSTRAINT PK_Configuracion_Autorizacion PRIMARY KEY (Ca_Cve_Configuracion_Autorizacion)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Parametros_Generales' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Parametros_Generales (
        Pg_Cve_Parametro NVARCHAR(40) NOT NULL,
        Pg_Ambito        INT NOT NULL CONSTRAINT DF_Parametros_Generales_Pg_Ambito DEFAULT 0,
        Pg_Tipo          NVARCHAR(1) NOT NULL CONSTRAINT DF_Parametros_Generales_Pg_Tipo DEFAULT 'T',
        Pg_Valor         NVARCHAR(MAX) NULL,
        Pg_Descripcion   NVARCHAR(100) NULL,
        CONSTRAINT PK_Parametros_Generales PRIMARY KEY (Pg_Cve_Parametro, Pg_Ambito)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Operadores' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Operadores (
        Op_Cve_Operador NVARCHAR(10) NOT NULL,
        Op_Nombre       NVARCHAR(60) NOT NULL,
        Op_Nivel        INT NOT NULL CONSTRAINT DF_Operadores_Op_Nivel DEFAULT 1,
        Op_Cuenta       NVARCHAR(128) NULL,
        CONSTRAINT PK_Operadores PRIMARY KEY (Op_Cve_Operador)
    );
END
GO

-- Databases made before operators were mapped to accounts.
IF COL_LENGTH(N'dbo.Operadores', N'Op_Cuenta') IS NULL
    ALTER TABLE dbo.Operadores ADD Op_Cuenta NVARCHAR(128) NULL;
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Comentarios_Documento' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Comentarios_Documento (
        Cd_Id         INT IDENTITY(1,1) NOT NULL,
        Cd_Tabla      NVARCHAR(30) NOT NULL,
        Cd_Folio      NVARCHAR(30) NOT NULL,
        Cd_Comentario NVARCHAR(MAX) NULL,
        Cd_Operador   NVARCHAR(10) NULL,
        Cd_Fecha      DATETIME NULL,
        CONSTRAINT PK_Comentarios_Documento PRIMARY KEY (Cd_Id)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_Comentarios_Documento_Folio' AND object_id = OBJECT_ID(N'dbo.Comentarios_Documento'))
    CREATE INDEX IX_Comentarios_Documento_Folio ON dbo.Comentarios_Documento (Cd_Tabla, Cd_Folio);
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Formatos_Impresion' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Formatos_Impresion (
        Fi_Cve_Formato NVARCHAR(30) NOT NULL,
        Fi_Descripcion NVARCHAR(60) NULL,
        Fi_Sql         NVARCHAR(MAX) NULL,
        Fi_Plantilla   NVARCHAR(MAX) NULL,
        CONSTRAINT PK_Formatos_Impresion PRIMARY KEY (Fi_Cve_Formato)
    );
END
GO

-- The decision log: one row per authorization, rejection and printing, each
-- sealed with the hash of the row before it (orvinda --verificar-bitacora
-- checks the chain). The date is text as the server wrote it, so a row reads
-- back exactly as it was hashed. Operators may insert and read it, never
-- change it: see orvinda_permisos_sqlserver.sql.
IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Bitacora_Decisiones' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Bitacora_Decisiones (
        Bd_Id            INT NOT NULL,
        Bd_Fecha         NVARCHAR(26) NOT NULL,
        Bd_Operador      NVARCHAR(10) NOT NULL,
        Bd_Cuenta        NVARCHAR(128) NULL,
        Bd_Maquina       NVARCHAR(255) NULL,
        Bd_Clave         NVARCHAR(10) NULL,
        Bd_Tabla         NVARCHAR(30) NULL,
        Bd_Folio         NVARCHAR(100) NULL,
        Bd_Decision      NVARCHAR(2) NOT NULL,
        Bd_Valores       NVARCHAR(MAX) NULL,
        Bd_Sentencia     NVARCHAR(MAX) NULL,
        Bd_Filas         INT NULL,
        Bd_Comentario    NVARCHAR(MAX) NULL,
        Bd_Origen        NVARCHAR(12) NOT NULL,
        Bd_Referencia    INT NULL,
        Bd_Resultado     NVARCHAR(MAX) NULL,
        Bd_Hash_Anterior NVARCHAR(64) NOT NULL,
        Bd_Hash          NVARCHAR(64) NOT NULL,
        CONSTRAINT PK_Bitacora_Decisiones PRIMARY KEY (Bd_Id)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_Bitacora_Decisiones_Operador' AND object_id = OBJECT_ID(N'dbo.Bitacora_Decisiones'))
    CREATE INDEX IX_Bitacora_Decisiones_Operador ON dbo.Bitacora_Decisiones (Bd_Operador, Bd_Fecha);
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_Bitacora_Decisiones_Referencia' AND object_id = OBJECT_ID(N'dbo.Bitacora_Decisiones'))
    CREATE INDEX IX_Bitacora_Decisiones_Referencia ON dbo.Bitacora_Decisiones (Bd_Referencia);
GO

-- The log's last id and hash, in its one row: each writer locks it
-- (UPDLOCK) for the moment of its append, so two shells never fork the chain.
IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Bitacora_Cabeza' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Bitacora_Cabeza (
        Bc_Clave     INT NOT NULL,
        Bc_Ultimo_Id INT NOT NULL,
        Bc_Hash      NVARCHAR(64) NOT NULL,
        CONSTRAINT PK_Bitacora_Cabeza PRIMARY KEY (Bc_Clave)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM dbo.Bitacora_Cabeza)
    INSERT INTO dbo.Bitacora_Cabeza (Bc_Clave, Bc_Ultimo_Id, Bc_Hash)
    VALUES (1, 0, N'0000000000000000000000000000000000000000000000000000000000000000');
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Departamentos' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Departamentos (
        Dp_Cve_Departamento    NVARCHAR(10) NOT NULL,
        Dp_Nombre              NVARCHAR(60) NOT NULL,
        Dp_Centro_Costo        NVARCHAR(20) NOT NULL,
        Dp_Cuenta_Presupuestal NVARCHAR(30) NOT NULL,
        Dp_Cuenta_Gastos       NVARCHAR(30) NOT NULL,
        CONSTRAINT PK_Departamentos PRIMARY KEY (Dp_Cve_Departamento)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Empleados' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Empleados (
        Em_Cve_Empleado     NVARCHAR(10) NOT NULL,
        Em_Nombre           NVARCHAR(60) NOT NULL,
        Em_Puesto           NVARCHAR(60) NOT NULL,
        Dp_Cve_Departamento NVARCHAR(10) NOT NULL,
        Em_Fecha_Ingreso    DATE NOT NULL,
        Op_Cve_Operador     NVARCHAR(10) NULL,
        CONSTRAINT PK_Empleados PRIMARY KEY (Em_Cve_Empleado)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Proveedores' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Proveedores (
        Pv_Cve_Proveedor NVARCHAR(10) NOT NULL,
        Pv_Rfc           NVARCHAR(13) NOT NULL,
        Pv_Razon_Social  NVARCHAR(100) NOT NULL,
        Pv_Domicilio     NVARCHAR(150) NOT NULL,
        Pv_Dias_Credito  INT NOT NULL CONSTRAINT DF_Proveedores_Pv_Dias_Credito DEFAULT 0,
        CONSTRAINT PK_Proveedores PRIMARY KEY (Pv_Cve_Proveedor)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Requisiciones_Compra' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Requisiciones_Compra (
        Rq_Folio               NVARCHAR(20) NOT NULL,
        Rq_Fecha               DATE NOT NULL,
        Rq_Fecha_Requerida     DATE NOT NULL,
        Em_Cve_Empleado        NVARCHAR(10) NOT NULL,
        Dp_Cve_Departamento    NVARCHAR(10) NOT NULL,
        Rq_Prioridad           NVARCHAR(10) NOT NULL,
        Rq_Justificacion       NVARCHAR(200) NOT NULL,
        Rq_Subtotal            DECIMAL(18,2) NOT NULL,
        Rq_Iva                 DECIMAL(18,2) NOT NULL,
        Rq_Total               DECIMAL(18,2) NOT NULL,
        Rq_Detalle_Html        NVARCHAR(MAX) NOT NULL,
        Rq_Estado              NVARCHAR(2) NOT NULL CONSTRAINT DF_Requisiciones_Compra_Rq_Estado DEFAULT 'PE',
        Rq_Monto_Autorizado    DECIMAL(18,2) NULL,
        Rq_Cuenta_Presupuestal NVARCHAR(30) NULL,
        Rq_Comentario_Revision NVARCHAR(MAX) NULL,
        Rq_Oper_Autoriza       NVARCHAR(10) NULL,
        Rq_Fecha_Autoriza      DATETIME NULL,
        Rq_Oper_Rechaza        NVARCHAR(10) NULL,
        Rq_Fecha_Rechaza       DATETIME NULL,
        CONSTRAINT PK_Requisiciones_Compra PRIMARY KEY (Rq_Folio)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_Requisiciones_Compra_Estado' AND object_id = OBJECT_ID(N'dbo.Requisiciones_Compra'))
    CREATE INDEX IX_Requisiciones_Compra_Estado ON dbo.Requisiciones_Compra (Rq_Estado, Rq_Folio);
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Requisiciones_Compra_Detalle' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Requisiciones_Compra_Detalle (
        Rq_Folio       NVARCHAR(20) NOT NULL,
        Rd_Partida     INT NOT NULL,
        Rd_Articulo    NVARCHAR(20) NOT NULL,
        Rd_Descripcion NVARCHAR(100) NOT NULL,
        Rd_Unidad      NVARCHAR(10) NOT NULL,
        Rd_Cantidad    DECIMAL(18,2) NOT NULL,
        Rd_Precio      DECIMAL(18,2) NOT NULL,
        Rd_Importe     DECIMAL(18,2) NOT NULL,
        CONSTRAINT PK_Requisiciones_Compra_Detalle PRIMARY KEY (Rq_Folio, Rd_Partida),
        CONSTRAINT FK_Requisiciones_Compra_Detalle_Requisiciones_Compra FOREIGN KEY (Rq_Folio) REFERENCES dbo.Requisiciones_Compra (Rq_Folio)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Ordenes_Compra' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Ordenes_Compra (
        Oc_Folio                NVARCHAR(20) NOT NULL,
        Oc_Fecha                DATE NOT NULL,
        Pv_Cve_Proveedor        NVARCHAR(10) NOT NULL,
        Dp_Cve_Departamento     NVARCHAR(10) NOT NULL,
        Em_Cve_Comprador        NVARCHAR(10) NOT NULL,
        Oc_Condiciones_Pago     NVARCHAR(40) NOT NULL,
        Oc_Fecha_Entrega        DATE NOT NULL,
        Oc_Lugar_Entrega        NVARCHAR(100) NOT NULL,
        Oc_Moneda               NVARCHAR(3) NOT NULL CONSTRAINT DF_Ordenes_Compra_Oc_Moneda DEFAULT 'MXN',
        Oc_Subtotal             DECIMAL(18,2) NOT NULL,
        Oc_Iva                  DECIMAL(18,2) NOT NULL,
        Oc_Total                DECIMAL(18,2) NOT NULL,
        Oc_Detalle_Html         NVARCHAR(MAX) NOT NULL,
        Oc_Estado               NVARCHAR(2) NOT NULL CONSTRAINT DF_Ordenes_Compra_Oc_Estado DEFAULT 'PE',
        Oc_Partida_Presupuestal NVARCHAR(30) NULL,
        Oc_Comentario_Revision  NVARCHAR(MAX) NULL,
        Oc_Oper_Autoriza        NVARCHAR(10) NULL,
        Oc_Fecha_Autoriza       DATETIME NULL,
        Oc_Oper_Rechaza         NVARCHAR(10) NULL,
        Oc_Fecha_Rechaza        DATETIME NULL,
        CONSTRAINT PK_Ordenes_Compra PRIMARY KEY (Oc_Folio)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_Ordenes_Compra_Estado' AND object_id = OBJECT_ID(N'dbo.Ordenes_Compra'))
    CREATE INDEX IX_Ordenes_Compra_Estado ON dbo.Ordenes_Compra (Oc_Estado, Oc_Folio);
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Ordenes_Compra_Detalle' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Ordenes_Compra_Detalle (
        Oc_Folio       NVARCHAR(20) NOT NULL,
        Od_Partida     INT NOT NULL,
        Od_Articulo    NVARCHAR(20) NOT NULL,
        Od_Descripcion NVARCHAR(100) NOT NULL,
        Od_Unidad      NVARCHAR(10) NOT NULL,
        Od_Cantidad    DECIMAL(18,2) NOT NULL,
        Od_Precio      DECIMAL(18,2) NOT NULL,
        Od_Importe     DECIMAL(18,2) NOT NULL,
        CONSTRAINT PK_Ordenes_Compra_Detalle PRIMARY KEY (Oc_Folio, Od_Partida),
        CONSTRAINT FK_Ordenes_Compra_Detalle_Ordenes_Compra FOREIGN KEY (Oc_Folio) REFERENCES dbo.Ordenes_Compra (Oc_Folio)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Reportes_Gastos' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Reportes_Gastos (
        Rg_Folio               NVARCHAR(20) NOT NULL,
        Rg_Fecha               DATE NOT NULL,
        Em_Cve_Empleado        NVARCHAR(10) NOT NULL,
        Dp_Cve_Departamento    NVARCHAR(10) NOT NULL,
        Rg_Motivo              NVARCHAR(200) NOT NULL,
        Rg_Destino             NVARCHAR(60) NOT NULL,
        Rg_Periodo_Inicio      DATE NOT NULL,
        Rg_Periodo_Fin         DATE NOT NULL,
        Rg_Subtotal            DECIMAL(18,2) NOT NULL,
        Rg_Iva                 DECIMAL(18,2) NOT NULL,
        Rg_Total               DECIMAL(18,2) NOT NULL,
        Rg_Anticipo            DECIMAL(18,2) NOT NULL CONSTRAINT DF_Reportes_Gastos_Rg_Anticipo DEFAULT 0,
        Rg_Por_Reembolsar      DECIMAL(18,2) NOT NULL,
        Rg_Detalle_Html        NVARCHAR(MAX) NOT NULL,
        Rg_Estado              NVARCHAR(2) NOT NULL CONSTRAINT DF_Reportes_Gastos_Rg_Estado DEFAULT 'PE',
        Rg_Monto_Reembolso     DECIMAL(18,2) NULL,
        Rg_Cuenta_Contable     NVARCHAR(30) NULL,
        Rg_Comentario_Revision NVARCHAR(MAX) NULL,
        Rg_Oper_Autoriza       NVARCHAR(10) NULL,
        Rg_Fecha_Autoriza      DATETIME NULL,
        Rg_Oper_Rechaza        NVARCHAR(10) NULL,
        Rg_Fecha_Rechaza       DATETIME NULL,
        CONSTRAINT PK_Reportes_Gastos PRIMARY KEY (Rg_Folio)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_Reportes_Gastos_Estado' AND object_id = OBJECT_ID(N'dbo.Reportes_Gastos'))
    CREATE INDEX IX_Reportes_Gastos_Estado ON dbo.Reportes_Gastos (Rg_Estado, Rg_Folio);
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Reportes_Gastos_Detalle' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Reportes_Gastos_Detalle (
        Rg_Folio       NVARCHAR(20) NOT NULL,
        Gd_Partida     INT NOT NULL,
        Gd_Fecha       DATE NOT NULL,
        Gd_Concepto    NVARCHAR(40) NOT NULL,
        Gd_Proveedor   NVARCHAR(100) NOT NULL,
        Gd_Comprobante NVARCHAR(40) NOT NULL,
        Gd_Subtotal    DECIMAL(18,2) NOT NULL,
        Gd_Iva         DECIMAL(18,2) NOT NULL,
        Gd_Importe     DECIMAL(18,2) NOT NULL,
        CONSTRAINT PK_Reportes_Gastos_Detalle PRIMARY KEY (Rg_Folio, Gd_Partida),
        CONSTRAINT FK_Reportes_Gastos_Detalle_Reportes_Gastos FOREIGN KEY (Rg_Folio) REFERENCES dbo.Reportes_Gastos (Rg_Folio)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.tables WHERE name = N'Solicitudes_Vacaciones' AND schema_id = SCHEMA_ID(N'dbo'))
BEGIN
    CREATE TABLE dbo.Solicitudes_Vacaciones (
        Sv_Folio               NVARCHAR(20) NOT NULL,
        Sv_Fecha               DATE NOT NULL,
        Em_Cve_Empleado        NVARCHAR(10) NOT NULL,
        Dp_Cve_Departamento    NVARCHAR(10) NOT NULL,
        Sv_Periodo             NVARCHAR(20) NOT NULL,
        Sv_Fecha_Inicio        DATE NOT NULL,
        Sv_Fecha_Fin           DATE NOT NULL,
        Sv_Dias                INT NOT NULL,
        Sv_Dias_Disponibles    INT NOT NULL,
        Sv_Observaciones       NVARCHAR(200) NOT NULL,
        Sv_Estado              NVARCHAR(2) NOT NULL CONSTRAINT DF_Solicitudes_Vacaciones_Sv_Estado DEFAULT 'PE',
        Sv_Dias_Autorizados    INT NULL,
        Sv_Comentario_Revision NVARCHAR(MAX) NULL,
        Sv_Oper_Autoriza       NVARCHAR(10) NULL,
        Sv_Fecha_Autoriza      DATETIME NULL,
        Sv_Oper_Rechaza        NVARCHAR(10) NULL,
        Sv_Fecha_Rechaza       DATETIME NULL,
        CONSTRAINT PK_Solicitudes_Vacaciones PRIMARY KEY (Sv_Folio)
    );
END
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_Solicitudes_Vacaciones_Estado' AND object_id = OBJECT_ID(N'dbo.Solicitudes_Vacaciones'))
    CREATE INDEX IX_Solicitudes_Vacaciones_Estado ON dbo.Solicitudes_Vacaciones (Sv_Estado, Sv_Folio);
GO
