# The installed package: `find_package(luxtune)` with imported targets, and a pkg-config file.
include(CMakePackageConfigHelpers)

set(LUXTUNE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/luxtune)
install(EXPORT luxtuneTargets NAMESPACE luxtune:: DESTINATION ${LUXTUNE_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/luxtuneConfig.cmake.in
  ${CMAKE_BINARY_DIR}/luxtuneConfig.cmake INSTALL_DESTINATION ${LUXTUNE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/luxtuneConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/luxtuneConfig.cmake ${CMAKE_BINARY_DIR}/luxtuneConfigVersion.cmake
  DESTINATION ${LUXTUNE_CMAKE_DIR})

configure_file(${CMAKE_CURRENT_LIST_DIR}/luxtune.pc.in ${CMAKE_BINARY_DIR}/luxtune.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/luxtune.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
