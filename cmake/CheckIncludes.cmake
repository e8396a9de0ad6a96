# Holds every `#include "folder/File.h"` of the program's sources to the
# layers: a file may include its own folder and the folders that its library
# links (the rules that IncludeArrows.cmake wrote at configure time), and
# each include that reaches elsewhere fails the check with its file and line.
#
#   cmake -DRULES=<build>/include-rules.cmake -DSOURCE_ROOT=<source root>
#         -P CheckIncludes.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT RULES OR NOT SOURCE_ROOT)
  message(FATAL_ERROR "CheckIncludes.cmake needs RULES and SOURCE_ROOT")
endif()
include(${RULES})

set(failures 0)
set(checked 0)
foreach(folder IN LISTS KFO_LAYER_FOLDERS)
  file(GLOB files ${SOURCE_ROOT}/${folder}/*.h ${SOURCE_ROOT}/${folder}/*.cpp)
  foreach(path IN LISTS files)
    # One list element a line: the characters that a CMake list treats
    # specially become harmless ones first (no include line has them).
    file(READ ${path} content)
    string(REPLACE "\\" "/" content "${content}")
    string(REPLACE ";" "," content "${content}")
    string(REPLACE "[" "(" content "${content}")
    string(REPLACE "]" ")" content "${content}")
    string(REPLACE "\n" ";" lines "${content}")
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^/\"]+)/[^\"]*\"")
        continue()
      endif()
      set(target ${CMAKE_MATCH_1})
      if(NOT target IN_LIST KFO_LAYER_FOLDERS OR target IN_LIST KFO_MAY_INCLUDE_${folder})
        continue()
      endif()
      file(RELATIVE_PATH shown ${SOURCE_ROOT} ${path})
      string(STRIP "${line}" include)
      message(SEND_ERROR "${shown}:${number}: ${include}: ${KFO_LIBRARY_${folder}} (${folder}/) "
                         "does not link ${KFO_LIBRARY_${target}} (${target}/)")
      math(EXPR failures "${failures} + 1")
    endforeach()
    math(EXPR checked "${checked} + 1")
  endforeach()
endforeach()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} include(s) against the layers")
endif()
message(STATUS "${checked} files of ${KFO_LAYER_FOLDERS} include only what their libraries link")
