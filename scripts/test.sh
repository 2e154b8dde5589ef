#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite headless
# (Mesa's llvmpipe through SDL's offscreen driver, SDL's dummy audio driver).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --preset default "$@"
