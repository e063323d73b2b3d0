-- Orvinda: what operators' logins may do, on PostgreSQL.
--
-- Run once by the owner of the tables (psql -d orvinda -f this file), again
-- after --actualizar-esquema. Each operator's login becomes a member of
-- orvinda_operadores:
--   CREATE ROLE ana LOGIN PASSWORD '...' IN ROLE orvinda_operadores;
--   UPDATE Operadores SET Op_Cuenta = 'ana' WHERE Op_Cve_Operador = 'ANA';
-- The decision log takes rows and shows them; nobody but its owner can
-- change or remove one. The document tables are the site's: grant on them
-- what each authorization statement writes (see the end of this file).
-- The role is created here when missing, which needs CREATEROLE; without
-- it, have an administrator run CREATE ROLE orvinda_operadores NOLOGIN
-- first. psql stops at the first statement that fails, so the grants are
-- never left half applied.

\set ON_ERROR_STOP on

DO $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'orvinda_operadores') THEN
        CREATE ROLE orvinda_operadores NOLOGIN;
    END IF;
END
$$;

GRANT SELECT ON Configuracion_Autorizacion, Parametros_Generales, Operadores, Formatos_Impresion TO orvinda_operadores;

GRANT SELECT, INSERT ON Comentarios_Documento TO orvinda_operadores;

GRANT USAGE ON SEQUENCE comentarios_documento_cd_id_seq TO orvinda_operadores;

-- The log: insert and read, never update, delete or empty.
REVOKE ALL ON Bitacora_Decisiones FROM PUBLIC, orvinda_operadores;

GRANT SELECT, INSERT ON Bitacora_Decisiones TO orvinda_operadores;

-- A row names the login that wrote it, as the server knows it: a login
-- cannot write one in another's name.
CREATE OR REPLACE FUNCTION orvinda_bitacora_cuenta() RETURNS trigger AS $$
BEGIN
    IF NEW.Bd_Cuenta IS DISTINCT FROM session_user::text THEN
        RAISE EXCEPTION 'Bd_Cuenta (%) no es la cuenta de la sesión (%)', NEW.Bd_Cuenta, session_user;
    END IF;
    RETURN NEW;
END
$$ LANGUAGE plpgsql;

DROP TRIGGER IF EXISTS bitacora_cuenta ON Bitacora_Decisiones;

CREATE TRIGGER bitacora_cuenta BEFORE INSERT ON Bitacora_Decisiones
    FOR EACH ROW EXECUTE FUNCTION orvinda_bitacora_cuenta();

-- Its head moves on with every row, under the writer's lock (FOR UPDATE
-- needs UPDATE): the last id and hash, never its key.
REVOKE ALL ON Bitacora_Cabeza FROM PUBLIC, orvinda_operadores;

GRANT SELECT, UPDATE (Bc_Ultimo_Id, Bc_Hash) ON Bitacora_Cabeza TO orvinda_operadores;

-- The documents, for example those of the demo:
--   GRANT SELECT ON Departamentos, Empleados, Proveedores, Requisiciones_Compra_Detalle TO orvinda_operadores;
--   GRANT SELECT, UPDATE ON Requisiciones_Compra TO orvinda_operadores;
