#!/usr/bin/env bash
# Builds the library and runs every test twice: a normal warnings-as-errors build, and
# the same suite under AddressSanitizer + UndefinedBehaviorSanitizer. The first pass also
# installs the library and builds a host against it (scripts/check-install.sh, a CTest
# test).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

# Ninja for a new build folder; one configured earlier keeps its generator.
generator() { [[ -f "$1/CMakeCache.txt" ]] || echo "-GNinja"; }

# Optimised as shipped, without debug info: it only slows the build, and a failing test
# names its file and line without it. The tests themselves compile at -O1
# (tests/CMakeLists.txt).
cmake -S . -B build $(generator build) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DPRVDRINFO_BUILD_TESTS=ON -DPRVDRINFO_BUILD_TOOLS=ON -DPRVDRINFO_BUILD_EXAMPLES=ON \
  -DPRVDRINFO_BUILD_BENCH=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

# Line tables only (-g1): enough for the sanitizers' stack traces, and cheaper than -g.
cmake -S . -B build-asan $(generator build-asan) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1" \
  -DPRVDRINFO_SANITIZE=ON -DPRVDRINFO_BUILD_TESTS=ON -DPRVDRINFO_BUILD_TOOLS=ON \
  -DPRVDRINFO_BUILD_EXAMPLES=ON -DPRVDRINFO_BUILD_BENCH=OFF -DPRVDRINFO_CHECK_HEADERS=OFF >/dev/null
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j"$jobs")
