# The release: `cmake --build --preset windows --target package` makes
# StartCentre-<version>-win64.zip with the executable, a sample lame.dll, the maintainers' notes
# and the artwork's licence. The version is the project's (CMakeLists.txt), which the
# executable's resources and manifest also carry.
set(SC_RELEASE_DIR "${CMAKE_CURRENT_LIST_DIR}")
configure_file("${SC_RELEASE_DIR}/MAINTAINERS.txt.in" "${CMAKE_BINARY_DIR}/release/MAINTAINERS.txt"
               @ONLY NEWLINE_STYLE CRLF)
configure_file("${SC_RELEASE_DIR}/ARTWORK-LICENCE.txt"
               "${CMAKE_BINARY_DIR}/release/ARTWORK-LICENCE.txt" COPYONLY)

install(TARGETS StartCentre RUNTIME DESTINATION . COMPONENT release)
install(FILES "${PROJECT_SOURCE_DIR}/tools/suite/lame.dll"
              "${CMAKE_BINARY_DIR}/release/MAINTAINERS.txt"
              "${CMAKE_BINARY_DIR}/release/ARTWORK-LICENCE.txt"
        DESTINATION . COMPONENT release)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME StartCentre)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "StartCentre-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_COMPONENTS_ALL release)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/release")
include(CPack)

# Reproducible: the same sources give the same StartCentre.exe wherever they and the build
# folder lie. A second build from a copy of the sources at another path must match this one.
add_test(NAME release.reproducible_exe
         COMMAND bash "${SC_RELEASE_DIR}/check-reproducible.sh" "${PROJECT_SOURCE_DIR}"
                 "${CMAKE_BINARY_DIR}" "$<TARGET_FILE:StartCentre>")
set_tests_properties(release.reproducible_exe PROPERTIES TIMEOUT 1800)
