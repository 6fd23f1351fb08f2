# The popover views.
target_sources(tremlor_views PRIVATE
  src/Views/Popover/ActivityRing.cpp
  src/Views/Popover/ActivityRing.h
  src/Views/Popover/DisclosureToggle.cpp
  src/Views/Popover/DisclosureToggle.h
  src/Views/Popover/DurationPickerView.cpp
  src/Views/Popover/DurationPickerView.h
  src/Views/Popover/FooterIconButton.cpp
  src/Views/Popover/FooterIconButton.h
  src/Views/Popover/StatusHeaderView.cpp
  src/Views/Popover/StatusHeaderView.h
  src/Views/Popover/TremlorPopoverView.cpp
  src/Views/Popover/TremlorPopoverView.h
)
