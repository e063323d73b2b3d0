-- Orvinda: what operators' logins may do, on SQL Server.
--
-- Run once by the owner of the tables (sqlcmd -d orvinda -i this file),
-- again after --actualizar-esquema. Each operator's login gets a user in the
-- database that is a member of orvinda_operadores:
--   CREATE LOGIN ana WITH PASSWORD = '...';
--   CREATE USER ana FOR LOGIN ana;
--   ALTER ROLE orvinda_operadores ADD MEMBER ana;
--   UPDATE Operadores SET Op_Cuenta = N'ana' WHERE Op_Cve_Operador = N'ANA';
-- The decision log takes rows and shows them; nobody but its owner can
-- change or remove one. The document tables are the site's: grant on them
-- what each authorization statement writes (see the end of this file).

IF DATABASE_PRINCIPAL_ID(N'orvinda_operadores') IS NULL
    CREATE ROLE orvinda_operadores;
GO

GRANT SELECT ON dbo.Configuracion_Autorizacion TO orvinda_operadores;
GRANT SELECT ON dbo.Parametros_Generales TO orvinda_operadores;
GRANT SELECT ON dbo.Operadores TO orvinda_operadores;
GRANT SELECT ON dbo.Formatos_Impresion TO orvinda_operadores;
GRANT SELECT, INSERT ON dbo.Comentarios_Documento TO orvinda_operadores;
GO

-- The log: insert and read, never update or delete; DENY wins over any
-- grant a broader role may carry.
GRANT SELECT, INSERT ON dbo.Bitacora_Decisiones TO orvinda_operadores;
DENY UPDATE, DELETE, ALTER ON dbo.Bitacora_Decisiones TO orvinda_operadores;
GO

-- Its head moves on with every row, under the writer's UPDLOCK: the last id
-- and hash, never its key.
GRANT SELECT ON dbo.Bitacora_Cabeza TO orvinda_operadores;
GRANT UPDATE (Bc_Ultimo_Id, Bc_Hash) ON dbo.Bitacora_Cabeza TO orvinda_operadores;
DENY DELETE, ALTER ON dbo.Bitacora_Cabeza TO orvinda_operadores;
GO

-- The documents, for example those of the demo:
--   GRANT SELECT ON dbo.Departamentos TO orvinda_operadores;
--   GRANT SELECT ON dbo.Empleados TO orvinda_operadores;
--   GRANT SELECT, UPDATE ON dbo.Requisiciones_Compra TO orvinda_operadores;
