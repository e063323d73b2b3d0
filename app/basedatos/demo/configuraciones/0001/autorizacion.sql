UPDATE Requisiciones_Compra
   SET Rq_Estado = 'AU', Rq_Monto_Autorizado = CAST(REPLACE('{MONTO_AUTORIZADO}', ',', '') AS DECIMAL(18,2)), Rq_Cuenta_Presupuestal = '{CUENTA_PRESUPUESTAL}',
       Rq_Comentario_Revision = '{COMENTARIO_DOCUMENTO}', Rq_Oper_Autoriza = '{OPERADOR}', Rq_Fecha_Autoriza = '{FECHA}'
 WHERE Rq_Folio = '{FOLIO}' AND Rq_Estado = 'PE'
