# Installs the library's build tree, then configures, builds and runs the consumer
# project against the installed package. Run with cmake -P and:
#   NVO_BUILD_DIR      the library's build tree (already built)
#   NVO_CONSUMER_DIR   this folder
#   NVO_WORK_DIR       scratch folder, emptied first
#   NVO_GENERATOR, NVO_MAKE_PROGRAM, NVO_CXX_COMPILER, NVO_CXX_LAUNCHER, NVO_BUILD_TYPE
#   NVO_SANITIZER_FLAGS  flags the library was sanitized with (empty when none)
cmake_minimum_required(VERSION 3.22)

# Runs one step; its chatter (one line per installed file, the compiler's) is shown
# only when the step fails.
function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "consumer: ${what} failed (${result}):\n${output}")
  endif()
  message(STATUS "consumer: ${what} done")
endfunction()

file(REMOVE_RECURSE ${NVO_WORK_DIR})

# Staged under DESTDIR: an install rule with an absolute destination then lands in
# the scratch folder instead of the machine's system folders, and the package is
# used from another place than its install prefix, which proves it relocatable.
set(stage ${NVO_WORK_DIR}/stage)
set(prefix /opt/nvoquorvel)
set(ENV{DESTDIR} ${stage})
run_step("install" ${CMAKE_COMMAND} --install ${NVO_BUILD_DIR} --prefix ${prefix})
unset(ENV{DESTDIR})

set(configure_args
  -S ${NVO_CONSUMER_DIR} -B ${NVO_WORK_DIR}/build -G ${NVO_GENERATOR}
  -DCMAKE_PREFIX_PATH=${stage}${prefix}
  -DCMAKE_CXX_COMPILER=${NVO_CXX_COMPILER}
  -DCMAKE_BUILD_TYPE=${NVO_BUILD_TYPE})
if(NVO_MAKE_PROGRAM)
  list(APPEND configure_args -DCMAKE_MAKE_PROGRAM=${NVO_MAKE_PROGRAM})
endif()
if(NVO_CXX_LAUNCHER)
  list(APPEND configure_args -DCMAKE_CXX_COMPILER_LAUNCHER=${NVO_CXX_LAUNCHER})
endif()
# A sanitized library loads only into a program linked with the same runtime.
if(NVO_SANITIZER_FLAGS)
  list(APPEND configure_args
    -DCMAKE_CXX_FLAGS=${NVO_SANITIZER_FLAGS}
    -DCMAKE_EXE_LINKER_FLAGS=${NVO_SANITIZER_FLAGS})
endif()

run_step("configure" ${CMAKE_COMMAND} ${configure_args})
run_step("build" ${CMAKE_COMMAND} --build ${NVO_WORK_DIR}/build --parallel 2)
execute_process(COMMAND ${NVO_WORK_DIR}/build/app RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "consumer: the program failed (${result})")
endif()

# Builds without CMake find the same library through pkg-config.
find_program(NVO_PKG_CONFIG pkg-config)
if(NVO_PKG_CONFIG)
  file(GLOB pc_files ${stage}${prefix}/lib*/pkgconfig/nvoquorvel.pc ${stage}${prefix}/lib/*/pkgconfig/nvoquorvel.pc)
  list(GET pc_files 0 pc_file)
  get_filename_component(pc_dir ${pc_file} DIRECTORY)
  set(ENV{PKG_CONFIG_PATH} ${pc_dir})
  execute_process(COMMAND ${NVO_PKG_CONFIG} --cflags --libs nvoquorvel
    RESULT_VARIABLE result OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT result EQUAL 0 OR NOT flags MATCHES "-lnvoquorvel_rt" OR NOT flags MATCHES "include/nvoquorvel")
    message(FATAL_ERROR "consumer: pkg-config does not describe the library (${result}): ${flags}")
  endif()
  message(STATUS "consumer: pkg-config done")
endif()
