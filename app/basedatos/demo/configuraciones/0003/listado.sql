SELECT r.Rg_Folio AS "Folio", FECHA(r.Rg_Fecha) AS "Fecha", e.Em_Nombre AS "Empleado", d.Dp_Nombre AS "Departamento", r.Rg_Destino AS "Destino", DINERO(r.Rg_Total) AS "Total", DINERO(r.Rg_Por_Reembolsar) AS "Por_Reembolsar"
  FROM Reportes_Gastos r
  JOIN Empleados e ON e.Em_Cve_Empleado = r.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = r.Dp_Cve_Departamento
 WHERE r.Rg_Estado = 'PE'
 ORDER BY r.Rg_Folio
