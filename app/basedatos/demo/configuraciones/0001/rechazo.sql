UPDATE Requisiciones_Compra
   SET Rq_Estado = 'RE', Rq_Oper_Rechaza = '{OPERADOR}', Rq_Fecha_Rechaza = '{FECHA}'
 WHERE Rq_Folio = '{FOLIO}' AND Rq_Estado = 'PE'
