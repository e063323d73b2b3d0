UPDATE Solicitudes_Vacaciones
   SET Sv_Estado = 'RE', Sv_Oper_Rechaza = '{OPERADOR}', Sv_Fecha_Rechaza = '{FECHA}'
 WHERE Sv_Folio = '{FOLIO}' AND Sv_Estado = 'PE'
