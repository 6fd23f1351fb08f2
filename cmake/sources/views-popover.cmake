# The popover views.
target_sources(tremlor_views PRIVATE
)
