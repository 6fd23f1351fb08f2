# The settings views.
target_sources(tremlor_views PRIVATE
  src/Views/Settings/SettingsContext.h
)
