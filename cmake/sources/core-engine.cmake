# The session engine, its reactions, the profile service and the composition root.
target_sources(tremlor_core PRIVATE
  src/CompositionRoot.cpp
  src/CompositionRoot.h
  src/Engine/ProfileManager.cpp
  src/Engine/ProfileManager.h
  src/Engine/ProfileManaging.h
  src/Engine/TremlorEngine.cpp
  src/Engine/TremlorEngine.h
  src/Engine/TremlorEngineProtocol.h
  src/Engine/TremlorEngineReactions.cpp
)
