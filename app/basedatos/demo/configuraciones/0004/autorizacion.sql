UPDATE Solicitudes_Vacaciones
   SET Sv_Estado = 'AU', Sv_Dias_Autorizados = CAST(COALESCE(NULLIF('{DIAS_AUTORIZADOS}', ''), Sv_Dias) AS INTEGER),
       Sv_Comentario_Revision = '{COMENTARIO_DOCUMENTO}', Sv_Oper_Autoriza = '{OPERADOR}', Sv_Fecha_Autoriza = '{FECHA}'
 WHERE Sv_Folio = '{FOLIO}' AND Sv_Estado = 'PE'
