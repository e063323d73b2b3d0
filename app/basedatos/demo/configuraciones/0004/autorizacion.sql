UPDATE Solicitudes_Vacaciones
   SET Sv_Estado = 'AU', Sv_Dias_Autorizados = COALESCE(CAST(NULLIF('{DIAS_AUTORIZADOS}', '') AS INTEGER), Sv_Dias),
       Sv_Comentario_Revision = '{COMENTARIO_DOCUMENTO}', Sv_Oper_Autoriza = '{OPERADOR}', Sv_Fecha_Autoriza = '{FECHA}'
 WHERE Sv_Folio = '{FOLIO}' AND Sv_Estado = 'PE'
