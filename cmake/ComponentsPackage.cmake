# The components as a library for other programs, installed on request only:
#
#   cmake --install BUILD --component dev --prefix P
#
# puts the public headers of the layers under P/include/<package>/ (in the tree's own folder
# layout, so that "controls/MRUComboBox.h" is found there as it is here; a header marked
# internal stays behind, see ComponentsHeaders.cmake), the static layer libraries under
# P/lib/<package>/, and a CMake package with which another project writes
#
#   find_package(PolyverbComponents 1.0 REQUIRED)
#   target_link_libraries(app PRIVATE PolyverbComponents::Components)
#
# The rules are left out of a plain `cmake --install BUILD`, which installs the setup program
# alone.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
include(${CMAKE_CURRENT_LIST_DIR}/ComponentsHeaders.cmake)

# The package is named after the product; other programs find it by this name.
set(COMPONENTS_PACKAGE PolyverbComponents)
set(COMPONENTS_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/${COMPONENTS_PACKAGE})
set(COMPONENTS_LIBRARY_DIR ${CMAKE_INSTALL_LIBDIR}/${COMPONENTS_PACKAGE})
set(COMPONENTS_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/${COMPONENTS_PACKAGE})

# components_layer(TARGET [HEADERS folder...]): offers a layer's library and its public headers
# to other programs. HEADERS names the folders below the layer's own whose headers are offered
# (with their subfolders); without it, all of the layer's folders are. Of those, a header that
# carries the internal mark (ComponentsHeaders.cmake) stays behind. Call it after the layer's
# include directories are set.
function(components_layer target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "HEADERS")
  if(NOT arg_HEADERS)
    set(arg_HEADERS .)
  endif()

  # Folders of the source and build trees hold only while building; an installed copy finds
  # the headers in its own include folder (INCLUDES DESTINATION below).
  get_target_property(include_dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
  set(interface_dirs)
  foreach(dir IN LISTS include_dirs)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${dir}" in_source)
    cmake_path(IS_PREFIX PROJECT_BINARY_DIR "${dir}" in_build)
    if(in_source OR in_build)
      set(dir "$<BUILD_INTERFACE:${dir}>")
    endif()
    list(APPEND interface_dirs "${dir}")
  endforeach()
  set_property(TARGET ${target} PROPERTY INTERFACE_INCLUDE_DIRECTORIES "${interface_dirs}")

  file(RELATIVE_PATH layer_dir ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(folder IN LISTS arg_HEADERS)
    cmake_path(APPEND layer_dir ${folder} OUTPUT_VARIABLE folder_dir)
    cmake_path(NORMAL_PATH folder_dir)
    components_public_headers(headers ${PROJECT_SOURCE_DIR}/${folder_dir})
    foreach(header IN LISTS headers)
      cmake_path(APPEND folder_dir ${header} OUTPUT_VARIABLE header)
      cmake_path(GET header PARENT_PATH header_dir)
      install(FILES ${PROJECT_SOURCE_DIR}/${header}
              DESTINATION ${COMPONENTS_INCLUDE_DIR}/${header_dir} COMPONENT dev EXCLUDE_FROM_ALL)
      set_property(GLOBAL APPEND PROPERTY COMPONENTS_INSTALLED_HEADERS ${header})
    endforeach()
  endforeach()
  install(TARGETS ${target} EXPORT ${COMPONENTS_PACKAGE}Targets
          ARCHIVE DESTINATION ${COMPONENTS_LIBRARY_DIR} COMPONENT dev EXCLUDE_FROM_ALL
          INCLUDES DESTINATION ${COMPONENTS_INCLUDE_DIR})
endfunction()

# components_package(LAYER...): the one target other programs link, over the given layers
# (which bring the layers below them), and the package that exports it. Call it once the
# layers are made.
function(components_package)
  # Another program gets only the installed headers: one that includes a header of ours that
  # stays behind would not compile there.
  get_property(installed GLOBAL PROPERTY COMPONENTS_INSTALLED_HEADERS)
  components_uninstalled_includes(missing ${PROJECT_SOURCE_DIR} ${installed})
  if(missing)
    list(JOIN missing "\n  " missing_list)
    message(FATAL_ERROR "These installed headers include headers that are not installed:\n"
                        "  ${missing_list}\n"
                        "Include the internal header from a source instead, or make it public "
                        "(take its \"${COMPONENTS_INTERNAL_MARK}\" line away).")
  endif()

  add_library(components INTERFACE)
  add_library(${COMPONENTS_PACKAGE}::Components ALIAS components)
  set_target_properties(components PROPERTIES EXPORT_NAME Components)
  target_link_libraries(components INTERFACE ${ARGN})
  # The headers are C++20.
  target_compile_features(components INTERFACE cxx_std_20)
  if(SETUP_SANITIZE)
    # Sanitized libraries need the sanitizer runtimes in whatever program links them.
    target_link_options(components INTERFACE -fsanitize=address,undefined)
  endif()
  install(TARGETS components EXPORT ${COMPONENTS_PACKAGE}Targets
          INCLUDES DESTINATION ${COMPONENTS_INCLUDE_DIR})

  install(EXPORT ${COMPONENTS_PACKAGE}Targets NAMESPACE ${COMPONENTS_PACKAGE}::
          DESTINATION ${COMPONENTS_CONFIG_DIR} COMPONENT dev EXCLUDE_FROM_ALL)
  set(config_dir ${PROJECT_BINARY_DIR}/${COMPONENTS_PACKAGE})
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ComponentsConfig.cmake.in
                                ${config_dir}/${COMPONENTS_PACKAGE}Config.cmake
                                INSTALL_DESTINATION ${COMPONENTS_CONFIG_DIR})
  write_basic_package_version_file(${config_dir}/${COMPONENTS_PACKAGE}ConfigVersion.cmake
                                   VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
  install(FILES ${config_dir}/${COMPONENTS_PACKAGE}Config.cmake
                ${config_dir}/${COMPONENTS_PACKAGE}ConfigVersion.cmake
          DESTINATION ${COMPONENTS_CONFIG_DIR} COMPONENT dev EXCLUDE_FROM_ALL)
endfunction()

# components_backend(TARGET): offers a toolkit backend (toolkit/CMakeLists.txt, toolkit_backend)
# to other programs: its archive and the target that links it whole. Its headers stay private.
function(components_backend target)
  install(TARGETS ${target} ${target}_archive EXPORT ${COMPONENTS_PACKAGE}Targets
          ARCHIVE DESTINATION ${COMPONENTS_LIBRARY_DIR} COMPONENT dev EXCLUDE_FROM_ALL)
endfunction()
