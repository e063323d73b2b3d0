#!/usr/bin/env bash
# The Debian package as an administrator gets it: built with CPack from the
# build folder given, checked as Debian checks one (lintian), unpacked into a
# temporary root, and its shell run there without a display (--crear-demo),
# then offscreen (--captura).
set -euo pipefail
construccion="$1"
for programa in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$programa" > /dev/null || { echo "Prueba del paquete omitida: falta $programa (paquete dpkg-dev)"; exit 77; }
done
raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
if ! cpack --config "$construccion/CPackConfig.cmake" -G DEB -B "$raiz/paquete" > "$raiz/cpack.log" 2>&1; then
  cat "$raiz/cpack.log"
  exit 1
fi
deb=$(echo "$raiz"/paquete/*.deb)
dpkg-deb -x "$deb" "$raiz/sistema"
# What Debian asks of a package: its terms, its changelog, the shell's manual page.
for documento in usr/share/doc/orvinda-rm640/copyright usr/share/doc/orvinda-rm640/changelog.Debian.gz \
  usr/share/man/man1/orvinda.1.gz; do
  test -s "$raiz/sistema/$documento" || { echo "El paquete no lleva $documento"; exit 1; }
done
zgrep -q -- 'crear\\-demo' "$raiz/sistema/usr/share/man/man1/orvinda.1.gz" \
  || { echo "La página de manual no es la ayuda de orvinda"; exit 1; }
# lintian, where it is installed: an error fails the test, a warning is shown.
if command -v lintian > /dev/null; then
  lintian --tag-display-limit 0 "$deb" > "$raiz/lintian.log" 2>&1 || true
  cat "$raiz/lintian.log"
  if grep -q '^E: ' "$raiz/lintian.log"; then
    echo "lintian da errores en $(basename "$deb")"
    exit 1
  fi
else
  echo "lintian omitido: falta lintian (paquete lintian)"
fi
shell="$raiz/sistema/usr/bin/orvinda"
export HOME="$raiz/casa" XDG_CONFIG_HOME="$raiz/casa/.config" XDG_DATA_HOME="$raiz/casa/.local/share"
export ORVINDA_REGISTRO="$raiz/componentes.ini"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$shell" --crear-demo "$raiz/demo.db"
QT_QPA_PLATFORM=offscreen "$shell" --db "$raiz/demo.db" --captura "$raiz/bandeja.png"
test -s "$raiz/bandeja.png"
# The component the shell registered is the one the package brought.
grep -q "Biblioteca=$raiz/sistema/usr/lib/" "$ORVINDA_REGISTRO" || { cat "$ORVINDA_REGISTRO"; exit 1; }
echo "Paquete $(basename "$deb"): extraído, base creada sin pantalla y bandeja capturada."
