# Install rules for the public headers, pkg-config file and CMake package config.
install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
include(CMakePackageConfigHelpers)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/VistipConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
configure_file(cmake/vistip.pc.in ${CMAKE_BINARY_DIR}/vistip.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/vistip.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
get_property(_exported GLOBAL PROPERTY VISTIP_EXPORTED_TARGETS)
if(_exported)
  install(EXPORT VistipTargets NAMESPACE Vistip:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Vistip)
  file(WRITE ${CMAKE_BINARY_DIR}/VistipConfig.cmake
    "include(\${CMAKE_CURRENT_LIST_DIR}/VistipTargets.cmake)\n")
  install(FILES ${CMAKE_BINARY_DIR}/VistipConfig.cmake ${CMAKE_BINARY_DIR}/VistipConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Vistip)
endif()
