# The kit's tokens, fonts, utilities and controls.
find_package(ICU REQUIRED COMPONENTS uc)
pkg_check_modules(KESTU_XCB REQUIRED IMPORTED_TARGET xcb)
target_link_libraries(kestu_design PUBLIC Qt6::DBus nlohmann_json::nlohmann_json
  PRIVATE ICU::uc PkgConfig::KESTU_XCB ${CMAKE_DL_LIBS})
target_sources(kestu_design PRIVATE
  KestuDesign/KestuDesign.h
  KestuDesign/Tokens/KestuAnimation.cpp
  KestuDesign/Tokens/KestuAnimation.h
  KestuDesign/Tokens/KestuColor.cpp
  KestuDesign/Tokens/KestuColor.h
  KestuDesign/Tokens/KestuFont.cpp
  KestuDesign/Tokens/KestuFont.h
  KestuDesign/Tokens/KestuMetrics.h
  KestuDesign/Tokens/KestuShadow.cpp
  KestuDesign/Tokens/KestuShadow.h
  KestuDesign/Tokens/KestuTransition.cpp
  KestuDesign/Tokens/KestuTransition.h
  KestuDesign/Resources/KestuBundle.cpp
  KestuDesign/Resources/KestuBundle.h
  KestuDesign/Resources/KestuFontRegistry.cpp
  KestuDesign/Resources/KestuFontRegistry.h
  KestuDesign/Resources/KestuSymbols.cpp
  KestuDesign/Resources/KestuSymbols.h
  KestuDesign/Resources/kestu_symbols.qrc
  KestuDesign/Utilities/KestuBinding.h
  KestuDesign/Utilities/KestuCheckable.cpp
  KestuDesign/Utilities/KestuCheckable.h
  KestuDesign/Utilities/KestuNumeric.cpp
  KestuDesign/Utilities/KestuNumeric.h
  KestuDesign/Utilities/KestuReducedMotion.cpp
  KestuDesign/Utilities/KestuReducedMotion.h
  KestuDesign/Utilities/CodableUserDefaultsStorage.h
  KestuDesign/Utilities/DateFormatterCache.cpp
  KestuDesign/Utilities/DateFormatterCache.h
  KestuDesign/Utilities/KestuDockVisibility.cpp
  KestuDesign/Utilities/KestuDockVisibility.h
  KestuDesign/Utilities/KestuUserDefaults.cpp
  KestuDesign/Utilities/KestuUserDefaults.h
  KestuDesign/Utilities/KestuX11Taskbar.cpp
  KestuDesign/Utilities/KestuX11Taskbar.h
  KestuDesign/Utilities/LaunchAtLogin.cpp
  KestuDesign/Utilities/LaunchAtLogin.h
  KestuDesign/Components/KestuButton.cpp
  KestuDesign/Components/KestuButton.h
  KestuDesign/Components/KestuCard.cpp
  KestuDesign/Components/KestuCard.h
  KestuDesign/Components/KestuEmptyState.cpp
  KestuDesign/Components/KestuEmptyState.h
  KestuDesign/Components/KestuHoverEffect.cpp
  KestuDesign/Components/KestuHoverEffect.h
  KestuDesign/Components/KestuPressStyle.cpp
  KestuDesign/Components/KestuPressStyle.h
  KestuDesign/Components/KestuSearchField.cpp
  KestuDesign/Components/KestuSearchField.h
  KestuDesign/Components/KestuSectionHeader.cpp
  KestuDesign/Components/KestuSectionHeader.h
  KestuDesign/Components/KestuSettingsSearchField.cpp
  KestuDesign/Components/KestuSettingsSearchField.h
  KestuDesign/Components/KestuSlider.cpp
  KestuDesign/Components/KestuSlider.h
  KestuDesign/Components/KestuSliderLabelField.cpp
  KestuDesign/Components/KestuSliderLabelField.h
  KestuDesign/Components/KestuTextField.cpp
  KestuDesign/Components/KestuTextField.h
  KestuDesign/Components/KestuToggleStyle.cpp
  KestuDesign/Components/KestuToggleStyle.h
)
