include(CMakePackageConfigHelpers)

install(DIRECTORY include/prvdrinfo DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS prvdrinfo prvdrinfo_static
  EXPORT prvdrinfoTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT prvdrinfoTargets
  NAMESPACE prvdrinfo::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/prvdrinfo)

configure_package_config_file(cmake/prvdrinfoConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/prvdrinfoConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/prvdrinfo)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/prvdrinfoConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/prvdrinfoConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/prvdrinfoConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/prvdrinfo)

file(RELATIVE_PATH PRVDRINFO_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(cmake/prvdrinfo.pc.in ${CMAKE_CURRENT_BINARY_DIR}/prvdrinfo.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/prvdrinfo.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
