# Widget tests of the kit's tokens, utilities and controls (offscreen).
target_sources(kestu_design_tests PRIVATE
  kit/ButtonTest.cpp
  kit/KitTestSupport.h
  kit/SearchFieldTest.cpp
  kit/SliderTest.cpp
  kit/SurfacesTest.cpp
  kit/TextFieldTest.cpp
  kit/TokensTest.cpp
  kit/ReducedMotionTest.cpp
  kit/UtilitiesTest.cpp
)
