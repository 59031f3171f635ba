# The installed package of both shared libraries: a CMake package (find_package(narv) gives the imported
# targets narv::narvtraderapi and narv::narvmduserapi) and one pkg-config file per library.
#
# The package files locate everything relative to themselves, so an installation can be moved and
# `cmake --install <build> --prefix <anywhere>` works without configuring again.
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

set(NARV_PACKAGE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/narv)
set(NARV_PKGCONFIG_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(NARV_HEADER_INSTALL_DIR ${CMAKE_INSTALL_INCLUDEDIR}/narv)

# File names of the installed libraries, as the targets' version properties make them.
foreach(library narvtraderapi narvmduserapi)
  get_target_property(version ${library} VERSION)
  get_target_property(soversion ${library} SOVERSION)
  set(base ${CMAKE_SHARED_LIBRARY_PREFIX}${library}${CMAKE_SHARED_LIBRARY_SUFFIX})
  set(NARV_${library}_FILE ${base}.${version})
  set(NARV_${library}_SONAME ${base}.${soversion})
endforeach()

configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/narvConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/narvConfig.cmake
  INSTALL_DESTINATION ${NARV_PACKAGE_INSTALL_DIR}
  PATH_VARS CMAKE_INSTALL_LIBDIR NARV_HEADER_INSTALL_DIR)
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/package/narvConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/narvConfig.cmake ${PROJECT_BINARY_DIR}/package/narvConfigVersion.cmake
        DESTINATION ${NARV_PACKAGE_INSTALL_DIR} COMPONENT ${NARV_LIBRARIES_COMPONENT})

# pkg-config: the prefix is found from the .pc file's own directory.
file(RELATIVE_PATH NARV_PKGCONFIG_TO_PREFIX /prefix/${NARV_PKGCONFIG_INSTALL_DIR} /prefix)
string(REGEX REPLACE "/$" "" NARV_PKGCONFIG_TO_PREFIX "${NARV_PKGCONFIG_TO_PREFIX}")
foreach(library narvtraderapi narvmduserapi)
  if(library STREQUAL narvtraderapi)
    set(NARV_PC_DESCRIPTION "Trading library: login, orders, order and trade returns, queries")
  else()
    set(NARV_PC_DESCRIPTION "Market-data library: login, subscriptions, depth quotes")
  endif()
  set(NARV_PC_LIBRARY ${library})
  configure_file(${CMAKE_CURRENT_LIST_DIR}/narv.pc.in ${PROJECT_BINARY_DIR}/package/${library}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/package/${library}.pc DESTINATION ${NARV_PKGCONFIG_INSTALL_DIR}
          COMPONENT ${NARV_LIBRARIES_COMPONENT})
endforeach()
