SELECT o.Oc_Folio AS "Folio", FECHA(o.Oc_Fecha) AS "Fecha", p.Pv_Razon_Social AS "Proveedor", p.Pv_Rfc AS "RFC", d.Dp_Nombre AS "Departamento", DINERO(o.Oc_Total) AS "Total"
  FROM Ordenes_Compra o
  JOIN Proveedores p ON p.Pv_Cve_Proveedor = o.Pv_Cve_Proveedor
  JOIN Departamentos d ON d.Dp_Cve_Departamento = o.Dp_Cve_Departamento
 WHERE o.Oc_Estado = 'PE'
 ORDER BY o.Oc_Folio
