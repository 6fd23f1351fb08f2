# The settings views.
target_sources(tremlor_views PRIVATE
  src/Views/Settings/SettingsContext.h
  src/Views/Settings/TremlorSettingsDocument.cpp
  src/Views/Settings/TremlorSettingsDocument.h
)
