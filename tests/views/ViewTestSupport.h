#pragma once

#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "kit/KitTestSupport.h"

namespace viewtest {

using kittest::MotionOverride;

} // namespace viewtest
