SELECT COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g WHERE g.Pg_Cve_Parametro = 'GEN_EMPRESA' AND g.Pg_Ambito = 0), '') AS EMPRESA,
       COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g WHERE g.Pg_Cve_Parametro = 'GEN_RFC_EMPRESA' AND g.Pg_Ambito = 0), '') AS RFC_EMPRESA,
       o.Oc_Folio AS FOLIO, FECHA(o.Oc_Fecha) AS FECHA_DOCUMENTO, p.Pv_Cve_Proveedor AS CLAVE_PROVEEDOR,
       p.Pv_Razon_Social AS PROVEEDOR, p.Pv_Rfc AS RFC_PROVEEDOR, p.Pv_Domicilio AS DOMICILIO_PROVEEDOR,
       d.Dp_Nombre AS DEPARTAMENTO, d.Dp_Centro_Costo AS CENTRO_COSTO, e.Em_Nombre AS COMPRADOR,
       FECHA(o.Oc_Fecha_Entrega) AS FECHA_ENTREGA, o.Oc_Lugar_Entrega AS LUGAR_ENTREGA, o.Oc_Moneda AS MONEDA,
       (SELECT COUNT(*) FROM Ordenes_Compra_Detalle x WHERE x.Oc_Folio = o.Oc_Folio) AS PARTIDAS,
       o.Oc_Detalle_Html AS DETALLE_HTML, DINERO(o.Oc_Subtotal) AS SUBTOTAL, DINERO(o.Oc_Iva) AS IVA, DINERO(o.Oc_Total) AS TOTAL,
       '' AS PARTIDA_PRESUPUESTAL, o.Oc_Condiciones_Pago AS CONDICIONES_PAGO, '' AS COMENTARIO_DOCUMENTO,
       COALESCE(e.Op_Cve_Operador, '') AS SOLICITANTE_OPERADOR
  FROM Ordenes_Compra o
  JOIN Proveedores p ON p.Pv_Cve_Proveedor = o.Pv_Cve_Proveedor
  JOIN Departamentos d ON d.Dp_Cve_Departamento = o.Dp_Cve_Departamento
  JOIN Empleados e ON e.Em_Cve_Empleado = o.Em_Cve_Comprador
 WHERE o.Oc_Folio = '{FOLIO}'
