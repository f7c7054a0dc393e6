# Start-up and the platform services over the toolkit.
include(res/resources.cmake)

# The catalogue's seams on Windows, over the toolkit: shell, profile reader, busy cursor.
add_library(sc_platform STATIC platform_services.cpp)
target_link_libraries(sc_platform PUBLIC sc_catalogue sc_toolkit)

# Start-up does not know the main window's class: the program's entry (src/main.cpp) names it.
add_library(sc_startup STATIC start_centre.cpp)
target_link_libraries(sc_startup PUBLIC sc_platform sc_app_core sc_png_win)
