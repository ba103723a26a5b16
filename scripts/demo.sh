#!/usr/bin/env bash
# Builds the command-line tool and runs its demo of the library.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Ninja for a new build folder (as scripts/test.sh); one configured earlier keeps its own.
generator=$([[ -f build/CMakeCache.txt ]] || echo "-GNinja")
cmake -S . -B build $generator -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target prvdrinfo_tool
build/tools/prvdrinfo/prvdrinfo demo
