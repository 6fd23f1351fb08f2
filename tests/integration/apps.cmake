# Applications on a real X server with openbox: launch, running check, EWMH activation.
target_sources(tremlor_integration_tests PRIVATE
  integration/apps/AppActivationTest.cpp
)
