#!/usr/bin/env bash
# Installs prvdrinfo into a temporary prefix as a new user would, then builds and runs
# three small hosts against that installation: a CMake project on the shared library
# (configured with SQLite, OpenSSL, ICU, libcbor and pkg-config made unfindable, so it
# shows that the package asks for none of them), the same project on the static library,
# and a plain g++ build with pkg-config that sees no .pc but prvdrinfo's. The installed
# tool runs too, and so does the host guide's program (examples/host). Every program but
# that last must run without LD_LIBRARY_PATH.
#
#   scripts/check-install.sh             builds the README's recipe in build-install first
#   scripts/check-install.sh BUILD_DIR   installs an already built tree (CTest does this)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

if [[ $# -ge 1 ]]; then
  build=$(cd "$1" && pwd)
else
  scripts/install-deps.sh
  build=$PWD/build-install
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPRVDRINFO_BUILD_TESTS=OFF \
    -DPRVDRINFO_BUILD_BENCH=OFF -DPRVDRINFO_BUILD_EXAMPLES=OFF >/dev/null
  cmake --build "$build" -j"$jobs"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
step() { echo "check-install: $*"; }

if [[ -x "$prefix/bin/prvdrinfo" ]]; then
  step "installed tool"
  "$prefix/bin/prvdrinfo" --version
fi

# A host: serializes a column definition, reads it back and compares the content ids
# (the codec, ICU and OpenSSL all take part). It also asks the class registry for classes
# it never names, which a static link loses unless the library is linked whole.
mkdir -p "$work/host"
cat >"$work/host/main.cpp" <<'CPP'
#include <prvdrinfo/prvdrinfo.h>

#include <iostream>
#include <memory>

int main() {
  auto column = std::make_shared<prvdrinfo::CColumnDefStored>();
  column->SetDefaultCaption(1033, "Title");
  const prvdrinfo::Bytes bytes = column->Serialize();
  auto copy = std::make_shared<prvdrinfo::CColumnDefStored>();
  copy->Deserialize(bytes);
  std::cout << bytes.size() << " bytes, content id " << copy->ContentId() << "\n";
  for (const char* name : {"CProviderView", "CProviderInfoShell", "CColumnDefComputed"}) {
    if (!prvdrinfo::ClassRegistry::IsRegistered(name)) {
      std::cerr << name << " is not registered\n";
      return 1;
    }
  }
  return copy->ContentId() == column->ContentId() ? 0 : 1;
}
CPP
cat >"$work/host/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.20)
project(prvdrinfo_host LANGUAGES CXX)
option(HOST_STATIC "Link the static library" OFF)
if(HOST_STATIC)
  find_package(prvdrinfo 0.1 REQUIRED COMPONENTS static)
  set(library prvdrinfo::prvdrinfo_static)
else()
  find_package(prvdrinfo 0.1 REQUIRED)
  set(library prvdrinfo::prvdrinfo)
endif()
add_executable(host main.cpp)
target_link_libraries(host PRIVATE ${library})
CMAKE

step "CMake host on the shared library, private dependencies unfindable"
unfindable=()
for package in SQLite3 OpenSSL ICU PkgConfig Threads; do
  unfindable+=("-DCMAKE_DISABLE_FIND_PACKAGE_${package}=ON")
done
cmake -S "$work/host" -B "$work/host-shared" --no-warn-unused-cli -DCMAKE_PREFIX_PATH="$prefix" \
  "${unfindable[@]}" >/dev/null
cmake --build "$work/host-shared" >/dev/null
"$work/host-shared/host"

step "CMake host on the static library"
cmake -S "$work/host" -B "$work/host-static" -DCMAKE_PREFIX_PATH="$prefix" -DHOST_STATIC=ON >/dev/null
cmake --build "$work/host-static" >/dev/null
"$work/host-static/host"

step "pkg-config host, headers through -I under the warnings a host may turn on"
pcdir=$(dirname "$(find "$prefix" -name prvdrinfo.pc -print -quit)")
# Only prvdrinfo's .pc is visible: a non-static build must not need the others.
flags=$(PKG_CONFIG_LIBDIR="$pcdir" PKG_CONFIG_PATH= pkg-config --cflags --libs prvdrinfo)
g++ -std=c++20 -Wall -Wextra -Wpedantic -Wsuggest-override -Werror \
  "$work/host/main.cpp" $flags -o "$work/host-pc"
"$work/host-pc"

# The host guide's program: every road of a host, built against the installed package.
step "examples/host, the host guide's program"
scripts/check-host-example.sh "$prefix" "$work/host-guide"
step "all hosts ran"
