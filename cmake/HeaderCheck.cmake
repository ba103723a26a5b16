# Every public header compiles on its own: one generated source per header that includes
# only that header, built as part of the normal build. The headers come in through a plain
# -I, as they reach a host that does not mark them as system headers, and must stay quiet
# under the warnings such a host is likely to turn on (-Wsuggest-override among them).
function(prvdrinfo_check_headers)
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/include
    ${PROJECT_SOURCE_DIR}/include/prvdrinfo/*.h)
  set(sources)
  foreach(header IN LISTS headers)
    string(MAKE_C_IDENTIFIER ${header} name)
    set(source ${CMAKE_CURRENT_BINARY_DIR}/header_check/${name}.cpp)
    set(content "#include \"${header}\"\n")
    if(EXISTS ${source})
      file(READ ${source} old)
    else()
      set(old "")
    endif()
    if(NOT old STREQUAL content)
      file(WRITE ${source} ${content})
    endif()
    list(APPEND sources ${source})
  endforeach()
  add_library(prvdrinfo_header_check OBJECT ${sources})
  target_include_directories(prvdrinfo_header_check PRIVATE ${PROJECT_SOURCE_DIR}/include)
  target_link_libraries(prvdrinfo_header_check PRIVATE prvdrinfo_warnings)
  target_compile_options(prvdrinfo_header_check PRIVATE -Wall -Wextra -Wpedantic -Wsuggest-override)
endfunction()
