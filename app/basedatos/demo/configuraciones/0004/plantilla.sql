SELECT COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g WHERE g.Pg_Cve_Parametro = 'GEN_EMPRESA' AND g.Pg_Ambito = 0), '') AS EMPRESA,
       COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g WHERE g.Pg_Cve_Parametro = 'GEN_RFC_EMPRESA' AND g.Pg_Ambito = 0), '') AS RFC_EMPRESA,
       s.Sv_Folio AS FOLIO, FECHA(s.Sv_Fecha) AS FECHA_DOCUMENTO, e.Em_Cve_Empleado AS NUMERO_EMPLEADO,
       e.Em_Nombre AS EMPLEADO, e.Em_Puesto AS PUESTO, FECHA(e.Em_Fecha_Ingreso) AS FECHA_INGRESO, d.Dp_Nombre AS DEPARTAMENTO,
       s.Sv_Periodo AS PERIODO, FECHA(s.Sv_Fecha_Inicio) AS FECHA_INICIO, FECHA(s.Sv_Fecha_Fin) AS FECHA_FIN, s.Sv_Dias AS DIAS,
       s.Sv_Dias_Disponibles AS DIAS_DISPONIBLES, s.Sv_Observaciones AS OBSERVACIONES,
       CAST(s.Sv_Dias AS VARCHAR(10)) AS DIAS_AUTORIZADOS, '' AS COMENTARIO_DOCUMENTO,
       COALESCE(e.Op_Cve_Operador, '') AS SOLICITANTE_OPERADOR
  FROM Solicitudes_Vacaciones s
  JOIN Empleados e ON e.Em_Cve_Empleado = s.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = s.Dp_Cve_Departamento
 WHERE s.Sv_Folio = '{FOLIO}'
