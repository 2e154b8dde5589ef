#!/usr/bin/env bash
# Installs what is missing, builds everything and plays the show. Arguments go to the show
# (see `pulsar --help`); with none, the launcher dialog asks for resolution, v-sync and full
# screen first. The show runs in build/run/, which holds demo.dat; it unpacks its data into a
# private directory of its own, never into build/run/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
mkdir -p build/run
cp -f build/demo.dat build/run/demo.dat
cd build/run
exec ../pulsar "$@"
