# The composition root with the system's services on a private desktop.
target_sources(tremlor_integration_tests PRIVATE
  integration/EngineIntegrationTest.cpp
)
