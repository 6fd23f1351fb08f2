# The settings model: records, enumerations, the store and the settings file record,
# with the platform basics they stand on (JSON coding, the user-defaults domain).
target_sources(tremlor_core PRIVATE
  src/Models/DateComponents.cpp
  src/Models/DateComponents.h
  src/Models/Duration.cpp
  src/Models/Duration.h
  src/Models/Enumerations.cpp
  src/Models/Enumerations.h
  src/Models/Profile.cpp
  src/Models/Profile.h
  src/Models/ScheduleEntry.cpp
  src/Models/ScheduleEntry.h
  src/Models/SettingDefaults.h
  src/Models/SettingsExport.cpp
  src/Models/SettingsExport.h
  src/Models/SettingsProviding.h
  src/Models/TremlorSettings.cpp
  src/Models/TremlorSettings.h
  src/Models/Weekday.cpp
  src/Models/Weekday.h
  src/Platform/Json.cpp
  src/Platform/Json.h
  src/Platform/UserDefaults.cpp
  src/Platform/UserDefaults.h
)
