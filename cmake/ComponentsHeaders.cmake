# Which headers of a layer other programs get, and the check that those include nothing they
# do not get. Apart from ComponentsPackage.cmake so that a script (cmake -P) can use it too.
#
# A header is internal when one of its lines starts with the mark below; it is written under
# `#pragma once`, where a reader of the header meets it. An internal header is for the layer's
# own sources (and the tree's tests) and is never installed; every other header is public.
# The mark is read when the build is configured.
set(COMPONENTS_INTERNAL_MARK "// Internal header:")

# components_public_headers(OUT DIR): the public headers below DIR (with its subfolders), as
# paths relative to DIR, sorted (as a glob gives them).
function(components_public_headers out dir)
  file(GLOB_RECURSE headers RELATIVE ${dir} ${dir}/*.h)
  set(public)
  foreach(header IN LISTS headers)
    file(STRINGS ${dir}/${header} mark REGEX "^${COMPONENTS_INTERNAL_MARK}" LIMIT_COUNT 1)
    if(NOT mark)
      list(APPEND public ${header})
    endif()
  endforeach()
  set(${out} ${public} PARENT_SCOPE)
endfunction()

# components_uninstalled_includes(OUT SOURCE_DIR HEADER...): for each HEADER (relative to
# SOURCE_DIR; the headers that are installed), the files of SOURCE_DIR it includes ("...",
# found beside the header or from SOURCE_DIR, as the build finds them) that are not among the
# HEADERs, as "header: included". An include of anything outside SOURCE_DIR is not ours to
# check.
function(components_uninstalled_includes out source_dir)
  set(installed ${ARGN})
  set(missing)
  foreach(header IN LISTS installed)
    cmake_path(GET header PARENT_PATH header_dir)
    file(STRINGS ${source_dir}/${header} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" included "${line}")
      cmake_path(APPEND header_dir ${included} OUTPUT_VARIABLE beside)
      cmake_path(NORMAL_PATH beside)
      cmake_path(SET from_root NORMALIZE ${included})
      set(found)
      foreach(candidate IN ITEMS ${beside} ${from_root})
        if(NOT candidate MATCHES "^\\.\\./" AND EXISTS ${source_dir}/${candidate})
          set(found ${candidate})
          break()
        endif()
      endforeach()
      if(NOT found)
        continue()
      endif()
      if(NOT found IN_LIST installed)
        list(APPEND missing "${header}: ${found}")
      endif()
    endforeach()
  endforeach()
  set(${out} ${missing} PARENT_SCOPE)
endfunction()
