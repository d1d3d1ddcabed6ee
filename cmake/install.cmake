# Installing: the libraries, the C headers, the Fortran interface modules
# (sources, and the compiled .mod files when a Fortran compiler is at hand),
# a CMake package (find_package(vexmorg CONFIG): vexmorg::vexmorg,
# vexmorg::runtime, vexmorg::fortran) and a pkg-config file; CPack makes a
# Debian package of a native build and a zip of the Windows DLLs.
include(CMakePackageConfigHelpers)
include(CheckLanguage)

set(VEXMORG_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/vexmorg)
set(VEXMORG_FMOD_DIR ${CMAKE_INSTALL_LIBDIR}/vexmorg/fortran)

# The substitute runtime sits beside the library: found through $ORIGIN.
set_target_properties(vexmorg PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(vexmori PROPERTIES EXPORT_NAME runtime)
set_target_properties(vexmorf PROPERTIES EXPORT_NAME runtime_f)
install(TARGETS vexmorg vexmori vexmorf EXPORT vexmorgTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES include/vexmorg/vexmorg.h include/vexmorg/vexmori.h
  include/vexmorg/vexmorg.f90 include/vexmorg/vexmori.f90
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vexmorg)

# The compiled modules are specific to the compiler that wrote them; the
# package records its id and version. A cross build compiles them only with
# the Fortran compiler its toolchain names.
if(NOT CMAKE_CROSSCOMPILING)
  check_language(Fortran)
endif()
if(CMAKE_Fortran_COMPILER)
  enable_language(Fortran)
  add_library(vexmorg_modules OBJECT include/vexmorg/vexmorg.f90 include/vexmorg/vexmori.f90)
  set_target_properties(vexmorg_modules PROPERTIES
    Fortran_MODULE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/fortran_modules)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/fortran_modules/vexmorg.mod
    ${CMAKE_CURRENT_BINARY_DIR}/fortran_modules/vexmori.mod DESTINATION ${VEXMORG_FMOD_DIR})
  set(VEXMORG_FORTRAN_COMPILER "${CMAKE_Fortran_COMPILER_ID} ${CMAKE_Fortran_COMPILER_VERSION}")
endif()

install(EXPORT vexmorgTargets NAMESPACE vexmorg:: DESTINATION ${VEXMORG_CMAKE_DIR})
configure_package_config_file(cmake/vexmorgConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/vexmorgConfig.cmake
  INSTALL_DESTINATION ${VEXMORG_CMAKE_DIR} PATH_VARS VEXMORG_FMOD_DIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/vexmorgConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vexmorgConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/vexmorgConfigVersion.cmake DESTINATION ${VEXMORG_CMAKE_DIR})

if(NOT WIN32)
  file(RELATIVE_PATH VEXMORG_PC_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
  configure_file(cmake/vexmorg.pc.in ${CMAKE_CURRENT_BINARY_DIR}/vexmorg.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vexmorg.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endif()

set(CPACK_PACKAGE_NAME vexmorg)
set(CPACK_PACKAGE_VENDOR "vexmorg")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Mathematical intrinsics for Fortran programs on x86")
set(CPACK_PACKAGE_CONTACT "vexmorg developers <vexmorg@localhost>")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libs)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
