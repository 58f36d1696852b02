# trovik_extension(<name> <source>... TEXT <file.txt>): a Trovik+ extension
# DLL built the way the SDK header asks: no "lib" prefix, undecorated export
# names on 32-bit Windows (--kill-at), nothing needed at run time but Windows
# itself, and its text file copied beside it. DLLs land in <build>/bin/ext.
# Included by each directory that builds extensions: C is enabled there.
enable_language(C)

function(trovik_extension name)
  cmake_parse_arguments(EXT "" "TEXT" "" ${ARGN})
  add_library(${name} SHARED ${EXT_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/sdk)
  target_compile_options(${name} PRIVATE -Wall -Wextra -Werror)
  target_link_options(${name} PRIVATE -static -s)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${name} PRIVATE -Wl,--kill-at)
  endif()
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/ext
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/ext
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib/ext)
  if(EXT_TEXT)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy ${EXT_TEXT} ${CMAKE_BINARY_DIR}/bin/ext/${name}.txt
      VERBATIM)
  endif()
endfunction()
