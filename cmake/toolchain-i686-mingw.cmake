# Cross build for 32-bit Windows: clang for i686-w64-mingw32 against Debian's
# mingw-w64 headers and CRT and GCC's libstdc++ and libgcc, linked by lld.
# Every binary gets CodeView debug information and a PDB beside it, which
# WinDbg, Visual Studio and Wine's DbgHelp read. Everything is linked
# statically so that the plug-in and the test programs need no MinGW runtime
# DLL. Thread model: posix for the test programs (GoogleTest needs
# std::mutex); win32 (QEL_MINGW_THREADS=win32) for the libraries a host loads
# and unloads again and again: the static posix runtime keeps one TLS slot of
# the process for good at every load.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

if(NOT QEL_MINGW_THREADS)
  set(QEL_MINGW_THREADS posix)
endif()
set(triple i686-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# GCC's folder of the thread model: libstdc++'s headers, and its crtbegin.o
# and crtend.o. clang does not recognise "12-posix" as a GCC version and would
# take mingw-w64's empty ones; GCC's crtend.o registers the unwind tables at
# load, without which the first throw ends the host (-B finds them).
set(gcc_dir /usr/lib/gcc/${triple}/12-${QEL_MINGW_THREADS})
set(cxx_headers "-nostdinc++ -isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/${triple} -isystem ${gcc_dir}/include/c++/backward")
# Doubles are rounded as on every other platform (no x87 extended precision).
# Source paths are recorded relative to the repository, with the compilation
# folder "."; the linker (-pdbsourcepath:.) keeps them so in the PDB, as
# "entry\Exports.cpp", the same for every checkout.
get_filename_component(source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(common_flags "--sysroot=/usr/${triple} -B${gcc_dir} -msse2 -mfpmath=sse -gcodeview -fdebug-prefix-map=${source_dir}/= -fdebug-compilation-dir=.")
set(CMAKE_C_FLAGS_INIT "${common_flags}")
set(CMAKE_CXX_FLAGS_INIT "${common_flags} ${cxx_headers}")

# A PDB beside each binary (--pdb= takes the binary's name); its debug
# directory names the PDB's file name only, as shipped files do.
set(link_flags "-Wno-unused-command-line-argument -static -fuse-ld=lld -B${gcc_dir} -L${gcc_dir} -Wl,--pdb= -Wl,--Xlink=-pdbaltpath:%_PDB% -Wl,--Xlink=-pdbsourcepath:.")
# GCC links the posix thread model's runtime with winpthread by itself.
if(QEL_MINGW_THREADS STREQUAL posix)
  string(APPEND link_flags " -pthread")
endif()
set(CMAKE_EXE_LINKER_FLAGS_INIT "${link_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${link_flags}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${link_flags}")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
