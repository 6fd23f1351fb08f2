# The onboarding views.
target_sources(tremlor_views PRIVATE
)
