# Widget tests of the kit's composite views and onboarding pages (offscreen); the render test
# writes PNG files into the build folder for a person to look at.
target_sources(kestu_design_tests PRIVATE
  kit/AboutViewTest.cpp
  kit/AnimatedGradientTest.cpp
  kit/CompositeRendersTest.cpp
  kit/FooterToolbarTest.cpp
  kit/InlineEditLabelTest.cpp
  kit/KitCompositeSupport.h
  kit/OnboardingPagesTest.cpp
  kit/OnboardingShellTest.cpp
)
target_compile_definitions(kestu_design_tests PRIVATE
  KESTU_COMPOSITE_RENDER_DIR="${CMAKE_BINARY_DIR}/tests/kit-renders")
