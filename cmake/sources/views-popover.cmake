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
  src/Views/Popover/SectionReveal.cpp
  src/Views/Popover/SectionReveal.h
  src/Views/Popover/StatusHeaderView.cpp
  src/Views/Popover/StatusHeaderView.h
  src/Views/Popover/TremlorPopoverView.cpp
  src/Views/Popover/TremlorPopoverView.h
)
# The panel's settings and application sections, its summary, running dot and profile picker.
target_sources(tremlor_views PRIVATE
  src/Views/Popover/CompactAppRow.cpp
  src/Views/Popover/CompactAppRow.h
  src/Views/Popover/CompactAppSummary.cpp
  src/Views/Popover/CompactAppSummary.h
  src/Views/Popover/PopoverExpandedContent.cpp
  src/Views/Popover/PopoverExpandedContent.h
  src/Views/Popover/ProfilePickerView.cpp
  src/Views/Popover/ProfilePickerView.h
  src/Views/Popover/RotationMenuButton.cpp
  src/Views/Popover/RotationMenuButton.h
  src/Views/Popover/RunningIndicator.cpp
  src/Views/Popover/RunningIndicator.h
  src/Views/Popover/SymbolLabel.cpp
  src/Views/Popover/SymbolLabel.h
)
