# The X11 input backends on a private Xvfb: XTest poster, XRandR monitors, XInput2 listener.
target_sources(tremlor_integration_tests PRIVATE
  integration/InputBackendsTest.cpp
)
