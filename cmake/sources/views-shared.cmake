# Pieces every view shares: the product palette, the store binding helper, the symbol table.
target_sources(tremlor_views PRIVATE
  src/Views/Shared/FocusScrollArea.cpp
  src/Views/Shared/FocusScrollArea.h
  src/Views/Shared/FormButton.cpp
  src/Views/Shared/FormButton.h
  src/Views/Shared/FormPicker.cpp
  src/Views/Shared/FormPicker.h
  src/Views/Shared/FormStepper.cpp
  src/Views/Shared/FormStepper.h
  src/Views/Shared/GroupedForm.cpp
  src/Views/Shared/GroupedForm.h
  src/Views/Shared/Hairline.cpp
  src/Views/Shared/Hairline.h
  src/Views/Shared/KeyboardReturn.cpp
  src/Views/Shared/KeyboardReturn.h
  src/Views/Shared/LocalizedSearch.cpp
  src/Views/Shared/LocalizedSearch.h
  src/Views/Shared/SettingBinding.h
  src/Views/Shared/TokenLabel.cpp
  src/Views/Shared/TokenLabel.h
  src/Views/Shared/TremlorColor.cpp
  src/Views/Shared/TremlorColor.h
  src/Views/Shared/ViewSymbols.cpp
  src/Views/Shared/ViewSymbols.h
  resources/tremlor_symbols.qrc
)
