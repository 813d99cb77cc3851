#!/usr/bin/env bash
# Installs what is missing, builds Brezmor and starts it headless on the demo
# folder ./demo (created on first use). Stop it with Ctrl+C. Any arguments are
# passed on to the program (for example --root DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBREZMOR_TESTS=OFF -DBREZMOR_BENCHMARKS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target brezmor
if [ $# -eq 0 ]; then
  exec build/app/brezmor --demo demo
fi
exec build/app/brezmor "$@"
