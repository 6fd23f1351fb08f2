#pragma once

// The Kestu design kit: tokens, controls and the onboarding pages. Widgets only; it knows
// nothing of the application that uses it.
#include "KestuDesign/Resources/KestuBundle.h"
#include "KestuDesign/Resources/KestuFontRegistry.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Tokens/KestuShadow.h"
#include "KestuDesign/Tokens/KestuTransition.h"
#include "KestuDesign/Utilities/KestuBinding.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
