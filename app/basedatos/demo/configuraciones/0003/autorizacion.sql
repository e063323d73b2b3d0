UPDATE Reportes_Gastos
   SET Rg_Estado = 'AU', Rg_Monto_Reembolso = CAST(REPLACE('{MONTO_REEMBOLSO}', ',', '') AS DECIMAL(18,2)), Rg_Cuenta_Contable = '{CUENTA_CONTABLE}',
       Rg_Comentario_Revision = '{COMENTARIO_DOCUMENTO}', Rg_Oper_Autoriza = '{OPERADOR}', Rg_Fecha_Autoriza = '{FECHA}'
 WHERE Rg_Folio = '{FOLIO}' AND Rg_Estado = 'PE'
