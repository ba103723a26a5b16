add_library(prvdrinfo_warnings INTERFACE)
target_compile_options(prvdrinfo_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wconversion -Wsign-conversion -Wnull-dereference
  -Wimplicit-fallthrough -Wformat=2)
if(PRVDRINFO_WERROR)
  target_compile_options(prvdrinfo_warnings INTERFACE -Werror)
endif()
