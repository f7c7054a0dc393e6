# Start-up over the toolkit, and the start centre's executable.
include(res/resources.cmake)

# The catalogue's seams on Windows, over the toolkit: shell, profile reader, busy cursor.
add_library(sc_platform STATIC platform_services.cpp)
target_link_libraries(sc_platform PUBLIC sc_catalogue sc_toolkit)

add_library(sc_startup STATIC start_centre.cpp)
target_link_libraries(sc_startup PUBLIC sc_main_window sc_png_win)

add_executable(StartCentre WIN32 main.cpp)
target_link_libraries(StartCentre PRIVATE sc_startup)
sc_add_app_resources(StartCentre)
