# Widget tests of the kit's composite views and onboarding pages (offscreen).
target_sources(kestu_design_tests PRIVATE
  kit/AboutViewTest.cpp
  kit/AnimatedGradientTest.cpp
  kit/FooterToolbarTest.cpp
  kit/InlineEditLabelTest.cpp
  kit/OnboardingPagesTest.cpp
  kit/OnboardingShellTest.cpp
)
