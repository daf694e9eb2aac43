# Install rules: public headers, one relocatable pkg-config file per library, the CMake package
# config, and the Debian packages that `cpack -G DEB` (or `make package`) builds from them.
install(FILES include/vistip32.h include/ntpaths.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT dev)

# pkg-config files find the prefix from their own folder, so any --prefix works.
file(RELATIVE_PATH PC_TO_PREFIX /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
function(vistip_pkgconfig name description requires requires_private libs_private)
  set(PC_NAME ${name})
  set(PC_DESCRIPTION ${description})
  set(PC_REQUIRES ${requires})
  set(PC_REQUIRES_PRIVATE ${requires_private})
  set(PC_LIBS_PRIVATE ${libs_private})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/pkgconfig.pc.in ${CMAKE_BINARY_DIR}/pkgconfig/${name}.pc
                 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/pkgconfig/${name}.pc
          DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
endfunction()
vistip_pkgconfig(vtrt "The Vistip runtime: windows, events, threads, dialogs, record files" ""
  "sqlite3 pangocairo cairo fontconfig x11" "-pthread -ldl")
vistip_pkgconfig(vistip32 "Context help tips for the controls of Vistip runtime programs" "vtrt"
  "" "")
vistip_pkgconfig(ntpaths "Windows-style long and short file names on POSIX file systems" "" ""
  "")

include(CMakePackageConfigHelpers)
set(_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Vistip)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/VistipConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
configure_package_config_file(cmake/VistipConfig.cmake.in ${CMAKE_BINARY_DIR}/VistipConfig.cmake
  INSTALL_DESTINATION ${_cmake_dir} PATH_VARS CMAKE_INSTALL_BINDIR)
install(EXPORT VistipTargets NAMESPACE Vistip:: DESTINATION ${_cmake_dir} COMPONENT dev)
install(FILES ${CMAKE_BINARY_DIR}/VistipConfig.cmake ${CMAKE_BINARY_DIR}/VistipConfigVersion.cmake
  DESTINATION ${_cmake_dir} COMPONENT dev)

# Debian packages: libvistip1 (the three libraries and the help file), libvistip-dev (headers,
# link names, pkg-config and CMake files) and vistip (the tip authors' tool).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vistip)
set(CPACK_PACKAGE_VENDOR "Vistip developers")
set(CPACK_PACKAGE_CONTACT "Vistip developers <vistip@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Context help tips for desktop programs")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL lib dev tools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_LIB_PACKAGE_NAME libvistip${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_LIB_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libvistip-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
    "libsqlite3-dev, libpango1.0-dev, libcairo2-dev, libfontconfig-dev, libx11-dev")
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME vistip)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION devel)
set(CPACK_COMPONENT_LIB_DESCRIPTION "Vistip libraries: libvtrt, libvistip32, libntpaths")
set(CPACK_COMPONENT_DEV_DESCRIPTION "Vistip development files: headers, pkg-config, CMake")
set(CPACK_COMPONENT_DEV_DEPENDS lib)
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "vistip: the tip authors' command-line tool")
set(CPACK_COMPONENT_TOOLS_DEPENDS lib)
include(CPack)
