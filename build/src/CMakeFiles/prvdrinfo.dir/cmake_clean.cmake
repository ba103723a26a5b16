file(REMOVE_RECURSE
  "libprvdrinfo.pdb"
  "libprvdrinfo.so"
  "libprvdrinfo.so.0"
  "libprvdrinfo.so.0.1.0"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/prvdrinfo.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
