#!/usr/bin/env bash
# Installs what is missing, builds the system into build/ and starts the demonstration program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DTARSK_SANITIZE=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target tarsk tarsk-runtime
exec build/bin/tarsk run demo/hello.tbm "$@"
