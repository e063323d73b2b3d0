SELECT r.Rq_Folio AS "Folio", FECHA(r.Rq_Fecha) AS "Fecha", e.Em_Nombre AS "Solicitante", d.Dp_Nombre AS "Departamento", r.Rq_Prioridad AS "Prioridad", DINERO(r.Rq_Total) AS "Total"
  FROM Requisiciones_Compra r
  JOIN Empleados e ON e.Em_Cve_Empleado = r.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = r.Dp_Cve_Departamento
 WHERE r.Rq_Estado = 'PE'
 ORDER BY r.Rq_Folio
