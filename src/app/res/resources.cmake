# sc_add_app_resources(<target>): gives an executable the start centre's Windows resources,
# the side-by-side manifest (common controls 6, asInvoker), the disc icon and the version block.
# The icon is drawn at build time by make_icon.py; the version comes from PROJECT_VERSION.
find_program(SC_PYTHON3 NAMES python3 REQUIRED)

function(sc_add_app_resources target)
  set(src "${CMAKE_CURRENT_FUNCTION_LIST_DIR}")
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_res")

  # Four version parts for the manifest and VERSIONINFO, missing ones as 0.
  set(quad "")
  foreach(part MAJOR MINOR PATCH TWEAK)
    set(p "${PROJECT_VERSION_${part}}")
    if(p STREQUAL "")
      set(p 0)
    endif()
    list(APPEND quad ${p})
  endforeach()
  list(JOIN quad "." SC_VERSION_QUAD)
  list(JOIN quad "," SC_VERSION_COMMAS)

  set(SC_RES_MANIFEST "${out}/StartCentre.manifest")
  set(SC_RES_ICON "${out}/StartCentre.ico")
  set(SC_RES_IDS "${src}/resource_ids.h")
  configure_file("${src}/StartCentre.manifest" "${SC_RES_MANIFEST}" @ONLY)
  configure_file("${src}/StartCentre.rc.in" "${out}/StartCentre.rc" @ONLY)

  add_custom_command(
    OUTPUT "${SC_RES_ICON}"
    COMMAND "${SC_PYTHON3}" "${src}/make_icon.py" "${SC_RES_ICON}"
    DEPENDS "${src}/make_icon.py"
    COMMENT "Drawing the application icon"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}/StartCentre.rc" "${SC_RES_ICON}")
  set_source_files_properties("${out}/StartCentre.rc" TARGET_DIRECTORY ${target}
    PROPERTIES OBJECT_DEPENDS "${SC_RES_ICON};${SC_RES_MANIFEST};${SC_RES_IDS}")
endfunction()
