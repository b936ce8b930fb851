# Shared helpers for the project's targets.

# Warnings on, and kept at zero.
function(qel_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(WIN32)
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()

# Adds the plug-in's resource script to target. windres does not report the
# files the script includes, so they are named here: a changed string table
# rebuilds the resources.
function(qel_add_plugin_resources target)
  set(rc ${CMAKE_SOURCE_DIR}/resources/QelSW99_3D.rc)
  file(GLOB included ${CMAKE_SOURCE_DIR}/resources/*.rc2 ${CMAKE_SOURCE_DIR}/resources/*.h)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${included}")
  target_sources(${target} PRIVATE ${rc})
endfunction()

# GoogleTest from the sources of Debian's googletest package.
macro(qel_add_googletest)
  if(NOT QEL_BENCH)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
endmacro()

# qel_add_test(NAME name SOURCES ... [LIBS ...] [LOCALES] [BY_FIXTURE]
#              [RESOURCES] [TIMEOUT s] [DEPENDS targets...] [LOCKS names...])
# A GoogleTest program, registered with CTest. Under Windows it runs through
# Wine (the emulator). LOCALES registers it twice, English and German, for tests
# that check user texts. BY_FIXTURE registers one CTest test per fixture of the
# sources (name.Fixture[.locale]), so that a failure names its area; each
# leaves the other fixtures' tests out (through the Wine wrapper, so that a
# GTEST_FILTER of the caller still picks among its own); TIMEOUT holds for each. RESOURCES links the
# plug-in's string tables and dialogs into the test program. LOCKS names the
# shared state of the Wine prefix the test uses, so that CTest never runs two
# such tests at once:
# "swsim" (the simulator: one running-object table, one set of windows) and
# "settings-file" (QelSW99_3D.ini in C:\windows).
function(qel_add_test)
  if(QEL_BENCH)
    return() # benchmark builds carry no tests
  endif()
  cmake_parse_arguments(T "LOCALES;RESOURCES;BY_FIXTURE" "NAME;TIMEOUT" "SOURCES;LIBS;DEPENDS;LOCKS"
                        ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  qel_target_defaults(${T_NAME})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(T_RESOURCES)
    qel_add_plugin_resources(${T_NAME})
  endif()
  if(T_DEPENDS)
    add_dependencies(${T_NAME} ${T_DEPENDS})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  if(T_LOCALES)
    set(locales en_US de_DE)
  else()
    set(locales en_US)
  endif()
  # The fixtures named by TEST, TEST_F and TEST_P at the start of a line (a
  # source edited later configures again, so a new fixture is never missed);
  # "-" stands for the whole program.
  set(fixtures "-")
  if(T_BY_FIXTURE)
    set(fixtures "")
    foreach(source IN LISTS T_SOURCES)
      get_filename_component(path ${source} ABSOLUTE)
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
      file(STRINGS ${path} lines REGEX "^TEST(_F|_P)?\\([A-Za-z0-9_]+,")
      foreach(line IN LISTS lines)
        string(REGEX REPLACE "^TEST(_F|_P)?\\(([A-Za-z0-9_]+),.*" "\\2" fixture "${line}")
        list(APPEND fixtures ${fixture})
      endforeach()
    endforeach()
    list(REMOVE_DUPLICATES fixtures)
  endif()
  foreach(loc IN LISTS locales)
    foreach(fixture IN LISTS fixtures)
      set(test_name ${T_NAME})
      set(exclude "")
      if(NOT fixture STREQUAL "-")
        set(test_name ${T_NAME}.${fixture})
        foreach(other IN LISTS fixtures)
          if(NOT other STREQUAL fixture)
            string(APPEND exclude "${other}.*:*/${other}.*:")
          endif()
        endforeach()
        string(REGEX REPLACE ":$" "" exclude "${exclude}")
        set(exclude ";QEL_GTEST_EXCLUDE=${exclude}")
      endif()
      if(T_LOCALES)
        set(test_name ${test_name}.${loc})
      endif()
      add_test(NAME ${test_name} COMMAND ${T_NAME})
      set_tests_properties(${test_name} PROPERTIES
        ENVIRONMENT "LC_ALL=${loc}.UTF-8;QEL_SOURCE_DIR=${CMAKE_SOURCE_DIR};QEL_BINARY_DIR=${CMAKE_BINARY_DIR}${exclude}"
        TIMEOUT ${T_TIMEOUT})
      if(T_LOCKS)
        set_tests_properties(${test_name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
      endif()
    endforeach()
  endforeach()
endfunction()

# qel_add_fuzzer(NAME name SOURCES ... CORPUS dir [RUNS n] [CODEPAGES cp...])
# A libFuzzer target of the native build; CTest runs it for a bounded number
# of inputs, starting from the committed seed corpus (read only: new inputs
# go to a folder in the build tree). CODEPAGES runs it once per ANSI code
# page (QEL_CODEPAGE), as name.<code page>.
function(qel_add_fuzzer)
  cmake_parse_arguments(F "" "NAME;CORPUS;RUNS" "SOURCES;CODEPAGES" ${ARGN})
  if(NOT QEL_FUZZ)
    return()
  endif()
  if(NOT F_RUNS)
    set(F_RUNS 200000)
  endif()
  add_executable(${F_NAME} ${F_SOURCES})
  qel_target_defaults(${F_NAME})
  target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${F_NAME} PRIVATE qel_core)
  if(NOT F_CODEPAGES)
    set(F_CODEPAGES none)
  endif()
  foreach(codepage IN LISTS F_CODEPAGES)
    if(codepage STREQUAL "none")
      set(test_name ${F_NAME})
    else()
      set(test_name ${F_NAME}.${codepage})
    endif()
    set(out ${CMAKE_BINARY_DIR}/fuzz-corpus/${test_name})
    add_test(NAME ${test_name}
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
              sh -c "mkdir -p '${out}' && exec \"$0\" -runs=${F_RUNS} -max_len=65536 '${out}' '${F_CORPUS}'"
              $<TARGET_FILE:${F_NAME}>)
    set_tests_properties(${test_name} PROPERTIES TIMEOUT 600 LABELS fuzz)
    if(NOT codepage STREQUAL "none")
      set_tests_properties(${test_name} PROPERTIES ENVIRONMENT "QEL_CODEPAGE=${codepage}")
    endif()
  endforeach()
endfunction()
