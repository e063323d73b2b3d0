#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/dependencias.sh
./scripts/compilar.sh
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu --disable-background-networking --disable-component-update"
export QTWEBENGINE_DISABLE_SANDBOX=1
cd build
ctest --output-on-failure -j2
