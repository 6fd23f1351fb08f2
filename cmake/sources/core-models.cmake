# The settings model: records, enumerations, the store and the settings file record.
target_sources(tremlor_core PRIVATE
  src/Models/Duration.cpp
  src/Models/Duration.h
  src/Models/Enumerations.cpp
  src/Models/Enumerations.h
)
