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
# and crtend.o. clang does not recognise Debian's folder names ("12-posix") as
# GCC versions and would take mingw-w64's empty ones; GCC's crtend.o registers
# the unwind tables at load, without which the first throw ends the host (-B
# finds them). The folder is the one of libgcc.a that the thread model's GCC
# itself names, so that a newer GCC is found as well.
set(gcc_driver ${triple}-g++-${QEL_MINGW_THREADS})
execute_process(COMMAND ${gcc_driver} -print-libgcc-file-name
  OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE status)
get_filename_component(gcc_dir "${libgcc}" DIRECTORY)
if(NOT status EQUAL 0 OR NOT IS_ABSOLUTE "${gcc_dir}" OR NOT EXISTS "${gcc_dir}/crtend.o"
   OR NOT IS_DIRECTORY "${gcc_dir}/include/c++/${triple}")
  message(FATAL_ERROR "Cannot find mingw-w64 GCC's folder for the ${QEL_MINGW_THREADS} thread "
    "model: '${gcc_driver} -print-libgcc-file-name' answered '${libgcc}' (${status}); "
    "a folder with crtend.o and include/c++/${triple} is needed. Install g++-mingw-w64-i686 "
    "(scripts/setup).")
endif()
set(cxx_headers "--start-no-unused-arguments -nostdinc++ --end-no-unused-arguments -isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/${triple} -isystem ${gcc_dir}/include/c++/backward")
# The processor is an i686 without SSE (Pentium II, Athlon), as in the
# workstations of Windows 2000's day: the x87 unit does the floating point.
# mingw-w64's runtime and GCC's libstdc++ and libgcc are built for i686 as well.
# Source paths are recorded relative to the repository, with the compilation
# folder "."; the linker (-pdbsourcepath:.) keeps them so in the PDB, as
# "entry\Exports.cpp", the same for every checkout.
get_filename_component(source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
# CMake repeats the compile flags on the link line, where -gcodeview and
# -nostdinc++ do nothing: only those two are marked as unused there on purpose,
# so that clang still warns about any other flag it ignores.
set(common_flags "--sysroot=/usr/${triple} -B${gcc_dir} -march=i686 -mno-sse --start-no-unused-arguments -gcodeview --end-no-unused-arguments -fdebug-prefix-map=${source_dir}/= -fdebug-compilation-dir=.")
set(CMAKE_C_FLAGS_INIT "${common_flags}")
set(CMAKE_CXX_FLAGS_INIT "${common_flags} ${cxx_headers}")

# A PDB beside each binary (--pdb= takes the binary's name); its debug
# directory names the PDB's file name only, as shipped files do. Every image
# declares OS and subsystem version 5.0 (Windows 2000): lld's default, 6.0,
# makes Windows 2000 and XP refuse an EXE and fail LoadLibrary of a DLL.
set(link_flags "-static -fuse-ld=lld -B${gcc_dir} -L${gcc_dir} -Wl,--pdb= -Wl,--Xlink=-pdbaltpath:%_PDB% -Wl,--Xlink=-pdbsourcepath:.")
string(APPEND link_flags " -Wl,--major-os-version,5,--minor-os-version,0,--major-subsystem-version,5,--minor-subsystem-version,0")
# GCC links the posix thread model's runtime with winpthread by itself.
if(QEL_MINGW_THREADS STREQUAL posix)
  string(APPEND link_flags " -pthread")
endif()
# Our programs keep the x87 control word that Windows gives every thread and
# an MSVC-built host keeps: doubles rounded to 53 bits, so that they round as
# on every other platform. mingw-w64's startup code would otherwise switch to
# extended precision (CRT_fp10.o, "fninit"); CRT_fp8.o calls msvcrt's _fpreset.
set(CMAKE_EXE_LINKER_FLAGS_INIT "${link_flags} ${CMAKE_FIND_ROOT_PATH}/lib/CRT_fp8.o")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${link_flags}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${link_flags}")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
