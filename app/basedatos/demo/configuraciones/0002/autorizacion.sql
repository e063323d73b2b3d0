UPDATE Ordenes_Compra
   SET Oc_Estado = 'AU', Oc_Partida_Presupuestal = '{PARTIDA_PRESUPUESTAL}',
       Oc_Condiciones_Pago = COALESCE(NULLIF('{CONDICIONES_PAGO}', ''), Oc_Condiciones_Pago),
       Oc_Comentario_Revision = '{COMENTARIO_DOCUMENTO}', Oc_Oper_Autoriza = '{OPERADOR}', Oc_Fecha_Autoriza = '{FECHA}'
 WHERE Oc_Folio = '{FOLIO}' AND Oc_Estado = 'PE'
