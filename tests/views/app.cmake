# Tests of the app views.
target_sources(tremlor_views_tests PRIVATE
)
