#pragma once

#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "kit/KitTestSupport.h"

namespace viewtest {

// Sets reduced motion for a scope and gives the preference back to the system after.
struct MotionOverride {
    explicit MotionOverride(bool reduced) { kestu::setReducedMotionOverride(reduced); }
    ~MotionOverride() { kestu::setReducedMotionOverride(std::nullopt); }
};

} // namespace viewtest
