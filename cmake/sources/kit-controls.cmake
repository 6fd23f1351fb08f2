# The kit's tokens, fonts, utilities and controls.
find_package(ICU REQUIRED COMPONENTS uc)
target_link_libraries(kestu_design PUBLIC Qt6::DBus PRIVATE ICU::uc ${CMAKE_DL_LIBS})
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
  KestuDesign/Utilities/KestuNumeric.cpp
  KestuDesign/Utilities/KestuNumeric.h
  KestuDesign/Utilities/KestuReducedMotion.cpp
  KestuDesign/Utilities/KestuReducedMotion.h
  KestuDesign/Components/KestuTextField.cpp
  KestuDesign/Components/KestuTextField.h
)
