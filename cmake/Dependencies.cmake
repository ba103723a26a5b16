# Every dependency comes from a Debian package (scripts/install-deps.sh).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(SQLite3 REQUIRED)
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
# The library calls ICU's common library only (case folding, normalization, converters);
# its data library comes with it.
find_package(ICU REQUIRED COMPONENTS uc data)
pkg_check_modules(CBOR REQUIRED IMPORTED_TARGET libcbor)
if(PRVDRINFO_BUILD_TOOLS)
  find_package(CLI11 REQUIRED)
  find_package(nlohmann_json 3 REQUIRED)
endif()
if(PRVDRINFO_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()
if(PRVDRINFO_BUILD_BENCH)
  find_package(benchmark REQUIRED)
endif()
