SELECT COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g WHERE g.Pg_Cve_Parametro = 'GEN_EMPRESA' AND g.Pg_Ambito = 0), '') AS EMPRESA,
       COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g WHERE g.Pg_Cve_Parametro = 'GEN_RFC_EMPRESA' AND g.Pg_Ambito = 0), '') AS RFC_EMPRESA,
       r.Rq_Folio AS FOLIO, FECHA(r.Rq_Fecha) AS FECHA_DOCUMENTO, FECHA(r.Rq_Fecha_Requerida) AS FECHA_REQUERIDA,
       e.Em_Nombre AS SOLICITANTE, e.Em_Puesto AS PUESTO, d.Dp_Nombre AS DEPARTAMENTO, d.Dp_Centro_Costo AS CENTRO_COSTO,
       r.Rq_Prioridad AS PRIORIDAD, r.Rq_Justificacion AS JUSTIFICACION,
       (SELECT COUNT(*) FROM Requisiciones_Compra_Detalle x WHERE x.Rq_Folio = r.Rq_Folio) AS PARTIDAS,
       r.Rq_Detalle_Html AS DETALLE_HTML, DINERO(r.Rq_Subtotal) AS SUBTOTAL, DINERO(r.Rq_Iva) AS IVA, DINERO(r.Rq_Total) AS TOTAL,
       IMPORTE(r.Rq_Total) AS MONTO_AUTORIZADO, d.Dp_Cuenta_Presupuestal AS CUENTA_PRESUPUESTAL, '' AS COMENTARIO_DOCUMENTO,
       COALESCE(e.Op_Cve_Operador, '') AS SOLICITANTE_OPERADOR
  FROM Requisiciones_Compra r
  JOIN Empleados e ON e.Em_Cve_Empleado = r.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = r.Dp_Cve_Departamento
 WHERE r.Rq_Folio = '{FOLIO}'
