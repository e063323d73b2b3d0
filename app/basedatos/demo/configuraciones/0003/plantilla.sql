SELECT COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g WHERE g.Pg_Cve_Parametro = 'GEN_EMPRESA' AND g.Pg_Ambito = 0), '') AS EMPRESA,
       COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g WHERE g.Pg_Cve_Parametro = 'GEN_RFC_EMPRESA' AND g.Pg_Ambito = 0), '') AS RFC_EMPRESA,
       r.Rg_Folio AS FOLIO, FECHA(r.Rg_Fecha) AS FECHA_DOCUMENTO, e.Em_Cve_Empleado AS NUMERO_EMPLEADO,
       e.Em_Nombre AS EMPLEADO, e.Em_Puesto AS PUESTO, d.Dp_Nombre AS DEPARTAMENTO, d.Dp_Centro_Costo AS CENTRO_COSTO,
       r.Rg_Motivo AS MOTIVO, r.Rg_Destino AS DESTINO, FECHA(r.Rg_Periodo_Inicio) AS PERIODO_INICIO, FECHA(r.Rg_Periodo_Fin) AS PERIODO_FIN,
       (SELECT COUNT(*) FROM Reportes_Gastos_Detalle x WHERE x.Rg_Folio = r.Rg_Folio) AS COMPROBANTES,
       r.Rg_Detalle_Html AS DETALLE_HTML, DINERO(r.Rg_Subtotal) AS SUBTOTAL, DINERO(r.Rg_Iva) AS IVA, DINERO(r.Rg_Total) AS TOTAL,
       DINERO(r.Rg_Anticipo) AS ANTICIPO, DINERO(r.Rg_Por_Reembolsar) AS POR_REEMBOLSAR,
       IMPORTE(r.Rg_Por_Reembolsar) AS MONTO_REEMBOLSO, d.Dp_Cuenta_Gastos AS CUENTA_CONTABLE, '' AS COMENTARIO_DOCUMENTO,
       COALESCE(e.Op_Cve_Operador, '') AS SOLICITANTE_OPERADOR
  FROM Reportes_Gastos r
  JOIN Empleados e ON e.Em_Cve_Empleado = r.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = r.Dp_Cve_Departamento
 WHERE r.Rg_Folio = '{FOLIO}'
