# Qt belongs to the toolkit's backend (toolkit/qt/) alone. A header elsewhere that includes Qt
# would hand Qt's types to every file that includes it; the build catches that in the files it
# compiles, this check also in headers no file outside the backend includes yet.
set(_qt_checked_layers platform toolkit package controls config installer)
set(_qt_backend ${PROJECT_SOURCE_DIR}/toolkit/qt/)
set(_qt_offenders "")
foreach(_layer ${_qt_checked_layers})
  file(GLOB_RECURSE _headers ${PROJECT_SOURCE_DIR}/${_layer}/*.h ${PROJECT_SOURCE_DIR}/${_layer}/*.hpp)
  foreach(_header ${_headers})
    string(FIND "${_header}" "${_qt_backend}" _in_backend)
    if(NOT _in_backend EQUAL 0)
      file(STRINGS "${_header}" _qt_includes REGEX "^[ \t]*#[ \t]*include[ \t]*<Q")
      if(_qt_includes)
        file(RELATIVE_PATH _name ${PROJECT_SOURCE_DIR} ${_header})
        list(APPEND _qt_offenders "  ${_name}: ${_qt_includes}")
      endif()
    endif()
  endforeach()
endforeach()
if(_qt_offenders)
  list(JOIN _qt_offenders "\n" _qt_list)
  message(FATAL_ERROR "Only toolkit/qt/ may include Qt; these headers do:\n${_qt_list}\n"
                      "Move the Qt part into the backend and keep the header Qt-free.")
endif()
