# Installing the engine core: the library, its public headers under
# include/EngineCore, the CMake package EngineCore and EngineCore.pc, and the
# engine install directory (channels/, 3rd/) at lib/varnel.
include(CMakePackageConfigHelpers)

set(VARNEL_PUBLIC_HEADERS ${CMAKE_CURRENT_SOURCE_DIR}/EngineCore.h)
foreach(dir foundation platform channel group engine)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
  list(APPEND VARNEL_PUBLIC_HEADERS ${headers})
endforeach()

install(TARGETS EngineCore EXPORT EngineCoreTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/EngineCore)
install(FILES ${VARNEL_PUBLIC_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/EngineCore)
install(EXPORT EngineCoreTargets NAMESPACE EngineCore:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/EngineCore)

configure_package_config_file(${CMAKE_CURRENT_SOURCE_DIR}/EngineCoreConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/EngineCoreConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/EngineCore)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/EngineCoreConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/EngineCoreConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/EngineCoreConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/EngineCore)

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/EngineCore.pc.in ${CMAKE_CURRENT_BINARY_DIR}/EngineCore.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/EngineCore.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(DIRECTORY DESTINATION ${VARNEL_INSTALL_ENGINE_DIR}/channels)
install(DIRECTORY DESTINATION ${VARNEL_INSTALL_ENGINE_DIR}/3rd)
