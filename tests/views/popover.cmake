# Tests of the popover views.
target_sources(tremlor_views_tests PRIVATE
  views/FakeEngine.h
  views/PopoverPanelTest.cpp
  views/StatusHeaderTest.cpp
)
