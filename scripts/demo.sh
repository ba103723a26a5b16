#!/usr/bin/env bash
# Builds the command-line tool and runs its demo of the library.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target prvdrinfo_tool
build/tools/prvdrinfo/prvdrinfo demo
