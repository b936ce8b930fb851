# qel_add_standin_dll(target OUTPUT_NAME name DEF file [VARIANT folder]
#                     SOURCES ... [DEFINITIONS ...] [LIBS ...])
# A stand-in library of the maker, exported under plain names through its
# .def file. A variant keeps the file name of the real library and lands in
# <bin>/variants/<folder>, so a test can put it in the real one's place.
function(qel_add_standin_dll target)
  cmake_parse_arguments(S "" "OUTPUT_NAME;DEF;VARIANT" "SOURCES;DEFINITIONS;LIBS" ${ARGN})
  add_library(${target} SHARED ${S_SOURCES} ${S_DEF})
  qel_target_defaults(${target})
  target_compile_definitions(${target} PRIVATE ${S_DEFINITIONS})
  target_link_libraries(${target} PRIVATE qel_standin_log ${S_LIBS})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${S_OUTPUT_NAME})
  if(S_VARIANT)
    set(dir ${QEL_BIN_DIR}/variants/${S_VARIANT})
    # The import library gets its own folder too: all variants share its name.
    set_target_properties(${target} PROPERTIES
      RUNTIME_OUTPUT_DIRECTORY ${dir}
      ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${S_VARIANT})
  else()
    set_target_properties(${target} PROPERTIES
      ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${target})
  endif()
endfunction()
