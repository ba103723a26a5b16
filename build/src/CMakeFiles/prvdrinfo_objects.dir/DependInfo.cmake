
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/src/foundation/currency.cpp" "src/CMakeFiles/prvdrinfo_objects.dir/foundation/currency.cpp.o" "gcc" "src/CMakeFiles/prvdrinfo_objects.dir/foundation/currency.cpp.o.d"
  "/work/main/src/foundation/error.cpp" "src/CMakeFiles/prvdrinfo_objects.dir/foundation/error.cpp.o" "gcc" "src/CMakeFiles/prvdrinfo_objects.dir/foundation/error.cpp.o.d"
  "/work/main/src/foundation/unicode.cpp" "src/CMakeFiles/prvdrinfo_objects.dir/foundation/unicode.cpp.o" "gcc" "src/CMakeFiles/prvdrinfo_objects.dir/foundation/unicode.cpp.o.d"
  "/work/main/src/foundation/variant.cpp" "src/CMakeFiles/prvdrinfo_objects.dir/foundation/variant.cpp.o" "gcc" "src/CMakeFiles/prvdrinfo_objects.dir/foundation/variant.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
