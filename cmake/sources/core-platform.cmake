# Platform basics shared by every service: dispatch, clock, random source, user defaults, JSON.
target_sources(tremlor_core PRIVATE
  src/Platform/AtomicFile.h
  src/Platform/Clock.h
  src/Platform/Dispatch.cpp
  src/Platform/Dispatch.h
  src/Platform/Platform.cpp
  src/Platform/Random.h
)
