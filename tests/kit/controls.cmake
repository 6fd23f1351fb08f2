# Widget tests of the kit's tokens, utilities and controls (offscreen).
target_sources(kestu_design_tests PRIVATE
  kit/ButtonTest.cpp
  kit/ControlRendersTest.cpp
  kit/KitTestSupport.h
  kit/ReducedMotionTest.cpp
  kit/SearchFieldTest.cpp
  kit/SliderTest.cpp
  kit/SurfacesTest.cpp
  kit/TextFieldTest.cpp
  kit/TokensTest.cpp
  kit/UtilitiesTest.cpp
  kit/X11TaskbarTest.cpp
  kit/XSettingsTest.cpp
)
target_link_libraries(kestu_design_tests PRIVATE PkgConfig::KESTU_XCB)
# The render test writes each control, light and dark, as PNG files for a person to look at.
target_compile_definitions(kestu_design_tests PRIVATE
  KESTU_CONTROL_RENDER_DIR="${CMAKE_BINARY_DIR}/tests/kit-renders")
