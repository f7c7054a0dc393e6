# The About window over the toolkit.
add_library(sc_about_window STATIC
  about_clock_win32.cpp
  about_form.cpp
  about_form_definition.cpp
  about_logo_win32.cpp)
target_link_libraries(sc_about_window PUBLIC sc_about_core sc_app_core sc_platform sc_png_win)
