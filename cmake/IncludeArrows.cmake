# The program's folders are its layers: each folder is one library, and a
# library may include the headers of its own folder and of the libraries it
# links, directly or through others, and nothing else. The compiler cannot
# hold that line, since every header is reached from the source root; this
# writes down, from the libraries' own links, which folders each folder may
# include, for CheckIncludes.cmake to hold every `#include "..."` to.

# The libraries a library links, directly or through others, among `layers`.
function(kfo_linked_layers target layers out)
  set(found)
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    get_target_property(links ${current} LINK_LIBRARIES)
    if(NOT links)
      continue()
    endif()
    foreach(link IN LISTS links)
      if(link IN_LIST layers AND NOT link IN_LIST found)
        list(APPEND found ${link})
        list(APPEND pending ${link})
      endif()
    endforeach()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# The folder of a library, relative to the source root.
function(kfo_layer_folder target out)
  get_target_property(directory ${target} SOURCE_DIR)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${directory})
  set(${out} ${folder} PARENT_SCOPE)
endfunction()

# Writes `file`: for each library of `ARGN`, its folder and the folders it may
# include.
function(kfo_write_include_rules file)
  set(layers ${ARGN})
  set(text "# Made by the build from the libraries' links; do not edit.\n")
  set(folders)
  foreach(layer IN LISTS layers)
    kfo_layer_folder(${layer} folder)
    if(folder IN_LIST folders)
      message(FATAL_ERROR "${folder}/ holds two libraries: each folder is one layer")
    endif()
    list(APPEND folders ${folder})
    kfo_linked_layers(${layer} "${layers}" linked)
    set(allowed ${folder})
    foreach(link IN LISTS linked)
      kfo_layer_folder(${link} linkedFolder)
      list(APPEND allowed ${linkedFolder})
    endforeach()
    string(APPEND text "set(KFO_LIBRARY_${folder} ${layer})\n")
    string(APPEND text "set(KFO_MAY_INCLUDE_${folder} ${allowed})\n")
  endforeach()
  string(APPEND text "set(KFO_LAYER_FOLDERS ${folders})\n")
  file(WRITE ${file} "${text}")
endfunction()
