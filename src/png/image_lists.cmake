# PNG image lists (Windows): the toolkit's image list holding PNG pictures, and their loading
# from window definitions.
add_library(sc_png_lists STATIC
  ${CMAKE_CURRENT_LIST_DIR}/png_icon_strip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_image_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_image_list_edit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_image_list_loader.cpp)
target_link_libraries(sc_png_lists PUBLIC sc_png sc_png_win sc_toolkit)
