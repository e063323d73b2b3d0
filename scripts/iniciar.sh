#!/usr/bin/env bash
# Installs what is missing, builds, and starts the shell on the demo database.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/dependencias.sh
./scripts/compilar.sh
exec ./build/bin/orvinda "$@"
