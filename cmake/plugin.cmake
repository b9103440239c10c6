# dorvane_plugin(target root outdir): the plug-in, "dorvane.so.0", with its
# fixed paths under `root`. It exports plugin_exec and nothing else; the
# host resolves the rest when it loads it.
set(DORVANE_PLUGIN_SOURCES
    ${PROJECT_SOURCE_DIR}/plugin/entry.cpp
    ${PROJECT_SOURCE_DIR}/plugin/shell.cpp
    ${PROJECT_SOURCE_DIR}/plugin/shell_layout.cpp
    ${PROJECT_SOURCE_DIR}/plugin/shell_keys.cpp
    ${PROJECT_SOURCE_DIR}/store/list_reader.cpp
    ${PROJECT_SOURCE_DIR}/store/list_writer.cpp
    ${PROJECT_SOURCE_DIR}/store/file_replace.cpp
    ${PROJECT_SOURCE_DIR}/store/xml_escape.cpp
    ${PROJECT_SOURCE_DIR}/runner/runner.cpp
    ${PROJECT_SOURCE_DIR}/runner/capture_file.cpp
    ${PROJECT_SOURCE_DIR}/runner/console_shell.cpp)

function(dorvane_plugin target root outdir)
  add_library(${target} MODULE ${DORVANE_PLUGIN_SOURCES})
  target_link_libraries(${target} PRIVATE host_headers)
  target_compile_definitions(${target} PRIVATE DORVANE_ROOT="${root}")
  set_target_properties(${target} PROPERTIES
      PREFIX "" OUTPUT_NAME "dorvane" SUFFIX ".so.0"
      LIBRARY_OUTPUT_DIRECTORY "${outdir}"
      CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_link_options(${target} PRIVATE
      "LINKER:--version-script=${PROJECT_SOURCE_DIR}/plugin/exports.map"
      "LINKER:-soname,dorvane.so.0")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${PROJECT_SOURCE_DIR}/plugin/exports.map")
endfunction()
