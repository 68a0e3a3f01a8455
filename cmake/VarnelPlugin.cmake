# A channel plug-in is an ELF shared object named NAME.dll placed in the engine
# install directory's channels/ folder. It finds the libraries it imports next to
# itself or in ../3rd, and binds its own GetType/InitDLL to itself.
function(varnel_add_plugin target)
  cmake_parse_arguments(ARG "" "FILE_NAME;OUTPUT_DIR" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_FILE_NAME)
    set(ARG_FILE_NAME "${target}")
  endif()
  if(NOT ARG_OUTPUT_DIR)
    set(ARG_OUTPUT_DIR "${VARNEL_CHANNELS_DIR}")
  endif()
  add_library(${target} SHARED ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE EngineCore ${ARG_LIBS})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME "${ARG_FILE_NAME}"
    SUFFIX ".dll"
    LIBRARY_OUTPUT_DIRECTORY "${ARG_OUTPUT_DIR}"
    BUILD_RPATH "$ORIGIN;$ORIGIN/../3rd;$<TARGET_FILE_DIR:EngineCore>"
    INSTALL_RPATH "$ORIGIN;$ORIGIN/../3rd;$ORIGIN/../.."
  )
  target_link_options(${target} PRIVATE -Wl,-Bsymbolic)
endfunction()
