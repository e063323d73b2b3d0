UPDATE Ordenes_Compra
   SET Oc_Estado = 'RE', Oc_Oper_Rechaza = '{OPERADOR}', Oc_Fecha_Rechaza = '{FECHA}'
 WHERE Oc_Folio = '{FOLIO}' AND Oc_Estado = 'PE'
