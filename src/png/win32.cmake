# The PNG codec's Windows layer: drawing with GDI, icons, conversions from toolkit bitmaps and
# the picture format registration. The codec's graphic operations that need GDI live here, so
# on Windows sc_png and sc_png_win go together.
add_library(sc_png_win STATIC
  ${CMAKE_CURRENT_LIST_DIR}/png_functions_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_gdi_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_graphic_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_picture_format_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_scaled_draw_win32.cpp)
target_link_libraries(sc_png_win PUBLIC sc_png sc_toolkit version)
target_link_libraries(sc_png PUBLIC sc_png_win)
