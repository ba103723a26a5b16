include(CMakePackageConfigHelpers)

# Two export sets: the shared library needs nothing of its consumers (its dependencies
# are linked into it), while the static library hands SQLite, OpenSSL, ICU and libcbor on
# to the final link. prvdrinfoConfig.cmake looks for those only when a consumer asks for
# the static library (find_package(prvdrinfo COMPONENTS static)).
install(DIRECTORY include/prvdrinfo DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS prvdrinfo
  EXPORT prvdrinfoTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# Every class registers itself from a static initializer in its own object file, which a
# plain static link leaves out unless the program names the class. So the package gives
# the archive under another name, and prvdrinfoConfig.cmake makes prvdrinfo_static link
# it whole.
set_target_properties(prvdrinfo_static PROPERTIES EXPORT_NAME prvdrinfo_static_archive)
install(TARGETS prvdrinfo_static
  EXPORT prvdrinfoStaticTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
foreach(set IN ITEMS prvdrinfoTargets prvdrinfoStaticTargets)
  install(EXPORT ${set}
    NAMESPACE prvdrinfo::
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/prvdrinfo)
endforeach()

configure_package_config_file(cmake/prvdrinfoConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/prvdrinfoConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/prvdrinfo)
# Before 1.0 a minor version may change the ABI (docs/abi.md): only the same minor fits.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/prvdrinfoConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/prvdrinfoConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/prvdrinfoConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/prvdrinfo)

# Relocatable: the .pc finds the prefix relative to itself (pkg-config's ${pcfiledir}).
# The libraries prvdrinfo links are named in Libs.private, not in Requires.private:
# pkg-config insists on finding every required .pc even for a shared build, and those come
# with the -dev packages that a program on the shared library does not need.
pkg_check_modules(PRVDRINFO_PC_PRIVATE REQUIRED QUIET sqlite3 libcrypto icu-uc libcbor)
set(libs_private ${PRVDRINFO_PC_PRIVATE_STATIC_LDFLAGS})
foreach(dir IN LISTS CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES)
  list(REMOVE_ITEM libs_private "-L${dir}")
endforeach()
list(JOIN libs_private " " PRVDRINFO_PC_LIBS_PRIVATE)
file(RELATIVE_PATH PRVDRINFO_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(cmake/prvdrinfo.pc.in ${CMAKE_CURRENT_BINARY_DIR}/prvdrinfo.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/prvdrinfo.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
