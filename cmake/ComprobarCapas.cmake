# cmake -DCAPAS=<build>/capas.txt [-DADICIONAL=<layer>|<file>] -P ComprobarCapas.cmake
#
# Each line of CAPAS: layer|root its includes are written from|layers it
# links, comma separated|its files, comma separated. Every #include "..."
# that names a header of some layer must name one of its own layer or of a
# layer it links; anything else runs against the arrows. ADICIONAL scans one
# more file as if it belonged to that layer.
cmake_minimum_required(VERSION 3.25)
if(NOT CAPAS)
  message(FATAL_ERROR "Falta -DCAPAS=<archivo>")
endif()
file(STRINGS ${CAPAS} lineas)

set(capas "")
foreach(linea IN LISTS lineas)
  string(REPLACE "|" ";" partes "${linea}")
  list(GET partes 0 capa)
  list(GET partes 1 raiz)
  list(GET partes 2 abajo)
  list(GET partes 3 fuentes)
  string(REPLACE "," ";" abajo "${abajo}")
  string(REPLACE "," ";" fuentes "${fuentes}")
  list(APPEND capas ${capa})
  set(ABAJO_${capa} ${abajo})
  set(FUENTES_${capa} ${fuentes})
  foreach(f IN LISTS fuentes)
    if(f MATCHES "\\.h$")
      file(RELATIVE_PATH rel ${raiz} ${f})
      set(DUENO_${rel} ${capa})
    endif()
  endforeach()
endforeach()

if(ADICIONAL)
  string(REPLACE "|" ";" partes "${ADICIONAL}")
  list(GET partes 0 capa)
  list(GET partes 1 archivo)
  list(APPEND FUENTES_${capa} ${archivo})
endif()

set(faltas "")
foreach(capa IN LISTS capas)
  foreach(f IN LISTS FUENTES_${capa})
    file(STRINGS ${f} incluidos REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(inc IN LISTS incluidos)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" ruta "${inc}")
      set(dueno "${DUENO_${ruta}}")
      if(dueno AND NOT dueno STREQUAL capa AND NOT dueno IN_LIST ABAJO_${capa})
        string(APPEND faltas "  ${f} (${capa}) incluye \"${ruta}\", de ${dueno}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faltas)
  message(FATAL_ERROR "Inclusiones contra el sentido de las capas:\n${faltas}"
                      "Una capa solo incluye sus propios encabezados y los de las capas que enlaza.")
endif()
list(LENGTH capas n)
message(STATUS "Capas: ${n}, ninguna inclusión contra su sentido.")
