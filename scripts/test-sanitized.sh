#!/usr/bin/env bash
# The whole show under AddressSanitizer and UndefinedBehaviorSanitizer (leaks checked at exit;
# any report fails), playing the demo.dat of the ordinary build: build-sanitize builds only the
# show's libraries and the whole-show test. Run it after scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
[[ -f build/demo.dat ]] || { echo "build/demo.dat is missing: run scripts/build.sh first" >&2; exit 1; }
cmake --preset sanitize -DPULSAR_BUILD_CONTENT=OFF -DPULSAR_SHOW_ARCHIVE="$PWD/build/demo.dat" >/dev/null
nice cmake --build build-sanitize --target tests_whole_show
ctest --preset sanitize -R '^WholeShowTest\.' "$@"
