# The pieces every view shares.
target_sources(tremlor_views_tests PRIVATE
  views/LocalizedSearchTest.cpp
  views/SettingBindingTest.cpp
)
