#!/usr/bin/env bash
# Installs what is missing, builds the system into build/ and starts the demonstration program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target tarsk tarsk-runtime hello_image
exec build/bin/tarsk run --debug build/demo/hello.tbm "$@"
