# Refuses an include that points up a floor, and a source file that has grown too long.
#   cmake -DSRC=<src dir> -DSTAMP=<file> -P CheckFloors.cmake
#
# The folders of src/ stand on floors, lowest first. A file may include a file of its own folder
# or of a lower floor; folders on the same floor know nothing of each other.
set(floors
  "platform:0" "ui:0"
  "core:1"
  "config:2" "linkstore:2" "extensions:2" "launch:2" "net:2"
  "dialogs:3"
  "mainwindow:4"
  "host:5"
  "app:6"
  "win32:7")
set(max_lines 800)
cmake_policy(SET CMP0007 NEW)
get_filename_component(SRC "${SRC}" ABSOLUTE)

foreach(entry IN LISTS floors)
  string(REPLACE ":" ";" pair "${entry}")
  list(GET pair 0 folder)
  list(GET pair 1 floor)
  set(floor_of_${folder} ${floor})
endforeach()

set(problems "")
file(GLOB_RECURSE sources RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp" "${SRC}/*.c")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder "${source}")
  if(NOT DEFINED floor_of_${folder})
    string(APPEND problems "  ${source}: folder '${folder}' stands on no floor\n")
    continue()
  endif()
  file(READ "${SRC}/${source}" content)
  string(REGEX MATCHALL "\n" line_ends "${content}")
  list(LENGTH line_ends count)
  if(count GREATER max_lines)
    string(APPEND problems "  ${source}: ${count} lines (at most ${max_lines})\n")
  endif()
  file(STRINGS "${SRC}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" target "${line}")
    if(NOT target MATCHES "^([a-z0-9_]+)/")
      continue()  # not a path under src/ (the SDK header, a file beside it)
    endif()
    set(to "${CMAKE_MATCH_1}")
    if(to STREQUAL folder OR NOT DEFINED floor_of_${to})
      continue()
    endif()
    if(NOT floor_of_${to} LESS floor_of_${folder})
      string(APPEND problems
        "  ${source} includes ${target}: ${folder} (floor ${floor_of_${folder}}) may not look at ${to} (floor ${floor_of_${to}})\n")
    endif()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "The source tree breaks its floors:\n${problems}")
endif()
file(WRITE "${STAMP}" "floors kept\n")
