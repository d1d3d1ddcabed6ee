# One program per source file matching `pattern` in the calling directory,
# built against MPFR (MPFR_INCLUDE_DIR, MPFR_LIBRARY, GMP_LIBRARY): the
# table generators and the x87 measurements.
function(vexmorg_mpfr_programs pattern)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
  foreach(source ${sources})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_include_directories(${name} PRIVATE ${MPFR_INCLUDE_DIR} ${PROJECT_SOURCE_DIR}/src
      ${PROJECT_SOURCE_DIR}/include)
    target_link_libraries(${name} PRIVATE ${MPFR_LIBRARY} ${GMP_LIBRARY})
  endforeach()
endfunction()
