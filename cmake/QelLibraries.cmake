# The libraries a host loads (the plug-in and the stand-ins of the maker's
# libraries) are built with the win32 thread model of mingw-w64, in a build
# of their own under <build>/libraries, straight into <build>/bin. The test
# build (posix thread model, for GoogleTest) refers to them by their target
# names.
include(ExternalProject)

set(QEL_LIBRARIES_EXTERNAL ON)
ExternalProject_Add(qel_libraries
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/libraries
  CMAKE_GENERATOR Ninja
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-i686-mingw.cmake
    -DQEL_MINGW_THREADS=win32
    -DQEL_LIBRARIES_ONLY=ON
    -DQEL_BIN_DIR=${QEL_BIN_DIR}
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)

# Targets of the test build that stand for libraries of the external build.
function(qel_external_library_targets)
  foreach(name IN LISTS ARGN)
    add_custom_target(${name} DEPENDS qel_libraries)
  endforeach()
endfunction()
