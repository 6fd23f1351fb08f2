# Widget tests of the kit's tokens, utilities and controls (offscreen).
target_sources(kestu_design_tests PRIVATE
  kit/ButtonTest.cpp
  kit/FocusRingTest.cpp
  kit/KitTestSupport.h
  kit/ReducedMotionTest.cpp
  kit/SearchFieldTest.cpp
  kit/SliderTest.cpp
  kit/SurfacesTest.cpp
  kit/TextFieldTest.cpp
  kit/TokensTest.cpp
  kit/UtilitiesTest.cpp
  kit/X11TaskbarTest.cpp
  kit/XcbClient.h
  kit/XSettingsTest.cpp
)
target_link_libraries(kestu_design_tests PRIVATE PkgConfig::KESTU_XCB)
