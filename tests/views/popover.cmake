# Tests of the popover views.
target_sources(tremlor_views_tests PRIVATE
  views/FakeEngine.h
  views/KeyboardWalk.h
  views/TextRecorder.h
  views/ToldToReaders.cpp
  views/ToldToReaders.h
  views/PanelKeyboardTest.cpp
  views/PopoverPanelTest.cpp
  views/StatusHeaderTest.cpp
)
# The panel's settings and application sections, its summary, indicator and picker; the symbols.
target_sources(tremlor_views_tests PRIVATE
  views/AppSummaryAndIndicatorTest.cpp
  views/ExpandedContentTest.cpp
  views/ProfilePickerTest.cpp
  views/ViewSymbolsTest.cpp
)
