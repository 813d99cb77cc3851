#!/usr/bin/env bash
# Installs what is missing, builds the test build (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBREZMOR_SANITIZE=ON -DBREZMOR_BENCHMARKS=OFF >/dev/null
cmake --build build-test -j"$(nproc)"
cd build-test
ctest --output-on-failure -j"$(nproc)" "$@"
