#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, only
# those that are missing.
set -euo pipefail
paquetes=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools
  libqt6sql6-sqlite libqt6sql6-odbc libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev
  xvfb xauth fonts-dejavu-core
  sqlite3 libsqlite3-dev unixodbc-dev libpq-dev dpkg-dev help2man
)
# The server tests and the package's lintian check: without these they are
# skipped with a line that says why.
opcionales=(postgresql odbc-postgresql unixodbc lintian)
faltantes() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}
sudo_=""
[ "$(id -u)" -ne 0 ] && sudo_="sudo"
mapfile -t faltan < <(faltantes "${paquetes[@]}")
mapfile -t faltan_opc < <(faltantes "${opcionales[@]}")
if [ ${#faltan[@]} -gt 0 ] || [ ${#faltan_opc[@]} -gt 0 ]; then
  $sudo_ apt-get update -qq
fi
if [ ${#faltan[@]} -gt 0 ]; then
  echo "Instalando: ${faltan[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y -qq "${faltan[@]}"
fi
if [ ${#faltan_opc[@]} -gt 0 ]; then
  echo "Instalando (opcional): ${faltan_opc[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y -qq "${faltan_opc[@]}" \
    || echo "No se pudieron instalar ${faltan_opc[*]}: las pruebas de servidor y lintian se omitirán."
fi
