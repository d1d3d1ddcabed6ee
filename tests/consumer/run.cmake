# The consumer test: install the build tree into a fresh prefix, then build
# and run the consumer programs against it through CMake's package and
# through pkg-config. Run with cmake -P and
#   -DBUILD_DIR=<vexmorg build> -DSOURCE_DIR=<this folder> -DWORK_DIR=<scratch>
#   -DGENERATOR=<generator> -DCC=<C compiler> -DFC=<Fortran compiler>
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "failed (${status}): ${command}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# Through the CMake package.
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/cmake -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_C_COMPILER=${CC} -DCMAKE_Fortran_COMPILER=${FC})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake)
run(${WORK_DIR}/cmake/consumer_c)
run(${WORK_DIR}/cmake/consumer_f)

# Through pkg-config, with the installed tree found from the .pc file alone.
file(GLOB_RECURSE pc_file ${prefix}/*/vexmorg.pc)
get_filename_component(pc_dir ${pc_file} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
find_program(PKG_CONFIG pkg-config REQUIRED)
foreach(query --cflags --libs --variable=fmoddir --variable=libdir)
  execute_process(COMMAND ${PKG_CONFIG} ${query} vexmorg OUTPUT_VARIABLE out
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE "^--(variable=)?" "" key ${query})
  separate_arguments(pc_${key} UNIX_COMMAND "${out}")
endforeach()
set(out ${WORK_DIR}/pkg-config)
file(MAKE_DIRECTORY ${out})
set(rpath -Wl,-rpath,${pc_libdir})
run(${CC} ${SOURCE_DIR}/consumer.c ${pc_cflags} ${pc_libs} ${rpath} -lm -o ${out}/consumer_c)
run(${FC} ${SOURCE_DIR}/consumer.f90 -I${pc_fmoddir} ${pc_libs} ${rpath} -o ${out}/consumer_f)
run(${out}/consumer_c)
run(${out}/consumer_f)
