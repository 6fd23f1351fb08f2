# Pieces every view shares: the product palette, the store binding helper, the symbol table.
target_sources(tremlor_views PRIVATE
  src/Views/Shared/SettingBinding.h
  src/Views/Shared/TremlorColor.cpp
  src/Views/Shared/TremlorColor.h
  src/Views/Shared/ViewSymbols.cpp
  src/Views/Shared/ViewSymbols.h
  resources/tremlor_symbols.qrc
)
