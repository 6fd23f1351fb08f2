# The settings views.
target_sources(tremlor_views PRIVATE
)
