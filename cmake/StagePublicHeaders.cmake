# Copies the public headers into the folder a terminal includes them from, as they are installed:
#
#   cmake -DSOURCE_DIR=<tree> -DOUTPUT_DIR=<include/HotKeyManager> \
#         "-DENTRIES=frame/HotKeyManagerApi.h=HotKeyManager.h;..." -P StagePublicHeaders.cmake
#
# Each entry is a header of the tree and its name in OUTPUT_DIR; every header it reaches through
# quoted includes comes along under its path in the tree (frame/..., platform/..., services/...).
# The tree's headers include each other by paths from the tree's root, which a terminal's
# compiler does not know: each quoted include is rewritten to the path from the staged file's own
# folder, so that the one include folder above OUTPUT_DIR is all a terminal needs. Files are
# written only when their text changes; files of earlier runs that are no longer reached go.
cmake_minimum_required(VERSION 3.25)

foreach(var SOURCE_DIR OUTPUT_DIR ENTRIES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

# staged_<path> holds the name in OUTPUT_DIR of the tree's header <path>.
set(queue "")
set(reached "")
foreach(entry IN LISTS ENTRIES)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 source)
  list(GET pair 1 name)
  set("staged_${source}" "${name}")
  list(APPEND queue "${source}")
  list(APPEND reached "${source}")
endforeach()

# The tree path of a quoted include, resolved as the compiler does: beside the including file,
# then from the tree's root.
function(resolve including name out)
  get_filename_component(folder "${including}" DIRECTORY)
  if(folder AND EXISTS "${SOURCE_DIR}/${folder}/${name}")
    cmake_path(SET target NORMALIZE "${folder}/${name}")
  elseif(EXISTS "${SOURCE_DIR}/${name}")
    cmake_path(SET target NORMALIZE "${name}")
  else()
    message(FATAL_ERROR "${including} includes \"${name}\", which is not in the tree")
  endif()
  set(${out} "${target}" PARENT_SCOPE)
endfunction()

set(include_pattern "#[ \t]*include[ \t]*\"([^\"]+)\"")
while(queue)
  list(POP_FRONT queue source)
  file(READ "${SOURCE_DIR}/${source}" text)
  string(REGEX MATCHALL "${include_pattern}" includes "${text}")
  foreach(include IN LISTS includes)
    string(REGEX REPLACE "${include_pattern}" "\\1" name "${include}")
    resolve("${source}" "${name}" target)
    if(NOT target IN_LIST reached)
      set("staged_${target}" "${target}")
      list(APPEND queue "${target}")
      list(APPEND reached "${target}")
    endif()
  endforeach()
endwhile()

set(written "")
foreach(source IN LISTS reached)
  set(staged "${staged_${source}}")
  get_filename_component(staged_folder "${OUTPUT_DIR}/${staged}" DIRECTORY)
  file(READ "${SOURCE_DIR}/${source}" text)
  string(REGEX MATCHALL "${include_pattern}" includes "${text}")
  list(REMOVE_DUPLICATES includes)
  foreach(include IN LISTS includes)
    string(REGEX REPLACE "${include_pattern}" "\\1" name "${include}")
    resolve("${source}" "${name}" target)
    file(RELATIVE_PATH relative "${staged_folder}" "${OUTPUT_DIR}/${staged_${target}}")
    string(REPLACE "${include}" "#include \"${relative}\"" text "${text}")
  endforeach()
  set(path "${OUTPUT_DIR}/${staged}")
  set(old "")
  if(EXISTS "${path}")
    file(READ "${path}" old)
  endif()
  if(NOT old STREQUAL text)
    file(WRITE "${path}" "${text}")
  endif()
  list(APPEND written "${path}")
endforeach()

file(GLOB_RECURSE present "${OUTPUT_DIR}/*")
foreach(path IN LISTS present)
  if(NOT path IN_LIST written)
    file(REMOVE "${path}")
  endif()
endforeach()
