file(REMOVE_RECURSE
  "CMakeFiles/prvdrinfo_objects.dir/foundation/currency.cpp.o"
  "CMakeFiles/prvdrinfo_objects.dir/foundation/currency.cpp.o.d"
  "CMakeFiles/prvdrinfo_objects.dir/foundation/error.cpp.o"
  "CMakeFiles/prvdrinfo_objects.dir/foundation/error.cpp.o.d"
  "CMakeFiles/prvdrinfo_objects.dir/foundation/unicode.cpp.o"
  "CMakeFiles/prvdrinfo_objects.dir/foundation/unicode.cpp.o.d"
  "CMakeFiles/prvdrinfo_objects.dir/foundation/variant.cpp.o"
  "CMakeFiles/prvdrinfo_objects.dir/foundation/variant.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/prvdrinfo_objects.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
