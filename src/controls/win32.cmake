# The glyph buttons' windows: the class tree, its paint cycle, the theme seam, accessibility and
# the kind pictures (a resource every program that links the buttons carries).
add_library(sc_controls_win STATIC
  button_accessibility.cpp
  button_drawing_win32.cpp
  glyph_bit_btn.cpp
  glyph_button.cpp
  kind_glyphs.cpp
  theme_services.cpp)
target_link_libraries(sc_controls_win PUBLIC sc_controls_core sc_toolkit uxtheme ole32 uuid)

add_library(sc_kind_glyphs OBJECT res/kind_glyphs.rc)
set_source_files_properties(res/kind_glyphs.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/res/kind_ok.bmp;${CMAKE_CURRENT_SOURCE_DIR}/res/kind_ok-150.bmp;${CMAKE_CURRENT_SOURCE_DIR}/res/kind_ok-200.bmp")
target_sources(sc_controls_win INTERFACE $<TARGET_OBJECTS:sc_kind_glyphs>)
