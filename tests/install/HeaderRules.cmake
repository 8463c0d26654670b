# The rules that decide which headers another program gets (cmake/ComponentsHeaders.cmake),
# on a small tree of headers made under WORK_DIR:
#   cmake -DWORK_DIR=... -P HeaderRules.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/ComponentsHeaders.cmake)

set(tree ${WORK_DIR}/tree)
file(REMOVE_RECURSE ${tree})
function(header path)
  list(JOIN ARGN "\n" text)
  file(WRITE ${tree}/${path} "#pragma once\n${text}\n")
endfunction()
function(expect what actual)
  if(NOT "${actual}" STREQUAL "${ARGN}")
    message(FATAL_ERROR "${what}:\n  got      '${actual}'\n  expected '${ARGN}'")
  endif()
endfunction()

header(layer/Public.h
       "#include <vector>"
       "#include \"layer/Internal.h\""
       "  #  include \"Beside.h\"  // found beside the header"
       "#include \"layer/sub/Deep.h\""
       "#include \"generated/NotInTree.h\""
       "#include \"../Outside.h\"")
header(layer/Beside.h "#include \"layer/Public.h\"")
# The mark counts on any line, and only at a line's start.
header(layer/Internal.h "// What it holds." "${COMPONENTS_INTERNAL_MARK} for the layer alone.")
header(layer/sub/Deep.h "  ${COMPONENTS_INTERNAL_MARK} indented, so not the mark")
header(layer/sub/Hidden.h "${COMPONENTS_INTERNAL_MARK}" "#include \"layer/Internal.h\"")
file(WRITE ${WORK_DIR}/Outside.h "#pragma once\n")
# The header beside the one that includes it wins over one of the same name at the top.
file(WRITE ${tree}/Beside.h "#pragma once\n")

components_public_headers(public ${tree}/layer)
expect("The public headers" "${public}" "Beside.h;Public.h;sub/Deep.h")

components_uninstalled_includes(missing ${tree} layer/Public.h layer/Beside.h layer/sub/Deep.h)
expect("Including an internal header" "${missing}" "layer/Public.h: layer/Internal.h")

components_uninstalled_includes(missing ${tree} layer/Public.h layer/Internal.h)
expect("Including a header beside it" "${missing}"
       "layer/Public.h: layer/Beside.h;layer/Public.h: layer/sub/Deep.h")

components_uninstalled_includes(missing ${tree} layer/Beside.h layer/Public.h layer/Internal.h
                                layer/sub/Deep.h)
expect("Everything included installed" "${missing}" "")
