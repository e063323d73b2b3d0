#!/usr/bin/env bash
# The layer check on the tree as it is, then with one include that runs up a
# layer: the first passes, the second fails and names the include.
set -u
fuente=$1
build=$2
comprobar() { cmake -DCAPAS="$build/capas.txt" "$@" -P "$fuente/cmake/ComprobarCapas.cmake"; }
if ! salida=$(comprobar 2>&1); then
  echo "El árbol no pasa la comprobación de capas:"; echo "$salida"; exit 1
fi
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
# Each floor reaching for one above it: data for the inbox, the engine for a
# control, the lower floor for a form.
for caso in "orvinda_datos|inbox/frmRM640.h" "rm640_marcadores|host/controles/ListView.h" \
            "rm640_publico|review/frmAutorizacion.h" "orvinda_controles|host/servicios/Sistema.h"; do
  capa=${caso%%|*}; cabecera=${caso#*|}
  printf '#include "%s"\n' "$cabecera" > "$tmp/mala.cpp"
  if salida=$(comprobar -DADICIONAL="$capa|$tmp/mala.cpp" 2>&1); then
    echo "No se detectó que $capa incluya $cabecera"; exit 1
  fi
  if ! grep -q "incluye \"$cabecera\"" <<<"$salida"; then
    echo "El mensaje no nombra la inclusión $cabecera:"; echo "$salida"; exit 1
  fi
done
echo "Capas: correctas, y las cuatro inclusiones contra su sentido detectadas."
