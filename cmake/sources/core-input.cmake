# Input simulation and idle detection: the mouse mover, the idle monitor, the smart-pause log
# and their X11 backends (XTest poster, XRandR displays, XInput2 raw-event listener).
target_sources(tremlor_core PRIVATE
  src/Engine/DirazUvuraLogger.cpp
  src/Engine/DirazUvuraLogger.h
  src/Engine/IdleDetector.cpp
  src/Engine/IdleDetector.h
  src/Engine/MouseMover.cpp
  src/Engine/MouseMover.h
  src/Engine/MouseMoverProtocol.h
  src/Engine/NaturalMovement.cpp
  src/Engine/QueueTimers.cpp
  src/Engine/QueueTimers.h
  src/Platform/InputIdleSource.h
  src/Platform/MouseMoving.h
  src/Platform/SyntheticInput.cpp
  src/Platform/SyntheticInput.h
  src/Platform/X11/InputExtensions.cpp
  src/Platform/X11/InputExtensions.h
  src/Platform/X11/SystemMouseMover.cpp
  src/Platform/X11/SystemMouseMover.h
  src/Platform/X11/WindowProperties.cpp
  src/Platform/X11/WindowProperties.h
  src/Platform/X11/X11Connection.cpp
  src/Platform/X11/X11Connection.h
  src/Platform/X11/X11InputIdleSource.cpp
  src/Platform/X11/X11InputIdleSource.h
  src/Platform/X11/X11InputListener.cpp
  src/Platform/X11/X11InputListener.h
)
