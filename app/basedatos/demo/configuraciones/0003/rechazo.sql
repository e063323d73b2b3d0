UPDATE Reportes_Gastos
   SET Rg_Estado = 'RE', Rg_Oper_Rechaza = '{OPERADOR}', Rg_Fecha_Rechaza = '{FECHA}'
 WHERE Rg_Folio = '{FOLIO}' AND Rg_Estado = 'PE'
