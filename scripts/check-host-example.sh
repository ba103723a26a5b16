#!/usr/bin/env bash
# Builds examples/host against an installed prvdrinfo package and runs it: the host's
# roads, each checking its own results (docs/host-guide.md).
#   scripts/check-host-example.sh PREFIX [BUILD_DIR]
# PREFIX is where `cmake --install` put the library; BUILD_DIR defaults to a fresh
# temporary folder, removed afterwards. Exits non-zero when the build fails or any check
# of the program does not hold.
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 PREFIX [BUILD_DIR]" >&2
  exit 2
fi
prefix=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../examples/host" && pwd)
if [ $# -eq 2 ]; then
  build_dir=$2
else
  build_dir=$(mktemp -d "${TMPDIR:-/tmp}/prvdrinfo-host-build.XXXXXX")
  trap 'rm -rf "$build_dir"' EXIT
fi

generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
cmake -S "$source_dir" -B "$build_dir" "${generator[@]}" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" -j2

# CMake gives the program the run path of the library it linked: no LD_LIBRARY_PATH.
"$build_dir/prvdrinfo_host"
