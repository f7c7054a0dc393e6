# Start-up over the toolkit, and the start centre's executable.
include(res/resources.cmake)

add_library(sc_startup STATIC start_centre.cpp)
target_link_libraries(sc_startup PUBLIC sc_main_window sc_png_win)

add_executable(StartCentre WIN32 main.cpp)
target_link_libraries(StartCentre PRIVATE sc_startup)
sc_add_app_resources(StartCentre)
