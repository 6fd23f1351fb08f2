# Widget tests of the kit's tokens, utilities and controls (offscreen).
target_sources(kestu_design_tests PRIVATE
  kit/TokensTest.cpp
  kit/TextFieldTest.cpp
)
