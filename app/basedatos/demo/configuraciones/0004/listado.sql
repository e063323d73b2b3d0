SELECT s.Sv_Folio AS "Folio", FECHA(s.Sv_Fecha) AS "Fecha", e.Em_Nombre AS "Empleado", d.Dp_Nombre AS "Departamento", FECHA(s.Sv_Fecha_Inicio) AS "Desde", FECHA(s.Sv_Fecha_Fin) AS "Hasta", s.Sv_Dias AS "Dias"
  FROM Solicitudes_Vacaciones s
  JOIN Empleados e ON e.Em_Cve_Empleado = s.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = s.Dp_Cve_Departamento
 WHERE s.Sv_Estado = 'PE'
 ORDER BY s.Sv_Folio
