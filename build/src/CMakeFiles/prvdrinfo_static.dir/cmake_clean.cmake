file(REMOVE_RECURSE
  "libprvdrinfo.a"
  "libprvdrinfo.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/prvdrinfo_static.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
