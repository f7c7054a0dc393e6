# Fails when a lower layer includes a header of a higher one.
# Usage: cmake -DSOURCE_DIR=<folder holding the subsystem folders> -P check_layering.cmake
# The text boundary, toolkit, graphics, PNG, controls and catalogue folders sit below start-up
# (app), the main window (Main) and the About window (about) and must not reach up into them;
# the toolkit is a general window toolkit and knows nothing of the catalogue's tasks either.
# Start-up and the product profile (app) lie below both windows: the program's entry
# (src/main.cpp, outside every folder) hands start-up the main window's maker.
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

# Each rule: the folders it holds for, then the folders they must not include from.
set(rules "text toolkit graphics png controls catalogue : app Main about" "toolkit : catalogue"
          "app : Main about")

set(violations "")
set(files_seen 0)
foreach(rule IN LISTS rules)
  string(REGEX MATCH "^([^:]*):(.*)$" parts "${rule}")
  separate_arguments(layers UNIX_COMMAND "${CMAKE_MATCH_1}")
  separate_arguments(forbidden UNIX_COMMAND "${CMAKE_MATCH_2}")
  list(JOIN forbidden "|" alternatives)
  set(upward_include "^[ \t]*#[ \t]*include[ \t]*[<\"](\\.\\./)*(${alternatives})/")
  foreach(layer IN LISTS layers)
    file(GLOB_RECURSE sources LIST_DIRECTORIES false
         "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.hpp" "${SOURCE_DIR}/${layer}/*.cpp"
         "${SOURCE_DIR}/${layer}/*.c" "${SOURCE_DIR}/${layer}/*.rc" "${SOURCE_DIR}/${layer}/*.inc")
    foreach(source IN LISTS sources)
      math(EXPR files_seen "${files_seen} + 1")
      file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include")
      foreach(line IN LISTS lines)
        if(line MATCHES "${upward_include}")
          file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
          string(STRIP "${line}" line)
          string(APPEND violations "\n  ${shown}: ${line}")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(files_seen EQUAL 0)
  message(FATAL_ERROR "no sources found under ${SOURCE_DIR}")
endif()
if(violations)
  message(FATAL_ERROR "a lower layer includes a higher one:${violations}")
endif()
message(STATUS "layering: ${files_seen} file checks, no upward include")
