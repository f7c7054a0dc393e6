# The main window over the toolkit.
add_library(sc_main_window STATIC
  draw_ops_win32.cpp
  main_form.cpp
  main_form_definition.cpp)
target_link_libraries(sc_main_window PUBLIC sc_main_core sc_app_core sc_platform sc_about_window
                      sc_png_lists sc_controls_win)
