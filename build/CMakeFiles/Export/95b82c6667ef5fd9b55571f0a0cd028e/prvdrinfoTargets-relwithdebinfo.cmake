#----------------------------------------------------------------
# Generated CMake target import file for configuration "RelWithDebInfo".
#----------------------------------------------------------------

# Commands may need to know the format version.
set(CMAKE_IMPORT_FILE_VERSION 1)

# Import target "prvdrinfo::prvdrinfo" for configuration "RelWithDebInfo"
set_property(TARGET prvdrinfo::prvdrinfo APPEND PROPERTY IMPORTED_CONFIGURATIONS RELWITHDEBINFO)
set_target_properties(prvdrinfo::prvdrinfo PROPERTIES
  IMPORTED_LOCATION_RELWITHDEBINFO "${_IMPORT_PREFIX}/lib/libprvdrinfo.so.0.1.0"
  IMPORTED_SONAME_RELWITHDEBINFO "libprvdrinfo.so.0"
  )

list(APPEND _cmake_import_check_targets prvdrinfo::prvdrinfo )
list(APPEND _cmake_import_check_files_for_prvdrinfo::prvdrinfo "${_IMPORT_PREFIX}/lib/libprvdrinfo.so.0.1.0" )

# Import target "prvdrinfo::prvdrinfo_static" for configuration "RelWithDebInfo"
set_property(TARGET prvdrinfo::prvdrinfo_static APPEND PROPERTY IMPORTED_CONFIGURATIONS RELWITHDEBINFO)
set_target_properties(prvdrinfo::prvdrinfo_static PROPERTIES
  IMPORTED_LINK_INTERFACE_LANGUAGES_RELWITHDEBINFO "CXX"
  IMPORTED_LOCATION_RELWITHDEBINFO "${_IMPORT_PREFIX}/lib/libprvdrinfo.a"
  )

list(APPEND _cmake_import_check_targets prvdrinfo::prvdrinfo_static )
list(APPEND _cmake_import_check_files_for_prvdrinfo::prvdrinfo_static "${_IMPORT_PREFIX}/lib/libprvdrinfo.a" )

# Commands beyond this point should not need to know the version.
set(CMAKE_IMPORT_FILE_VERSION)
