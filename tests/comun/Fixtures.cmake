target_sources(rm640_pruebas_comun PRIVATE
  comun/Grabacion.h comun/Grabacion.cpp
  comun/SistemaGrabador.h comun/SistemaGrabador.cpp
  comun/UtileriasGrabador.h comun/UtileriasGrabador.cpp
  comun/EntornoPrueba.h comun/EntornoPrueba.cpp)
target_link_libraries(rm640_pruebas_comun PUBLIC orvinda_shell orvinda_basedatos rm640_componente)
