#pragma once

#include "KitTestSupport.h"

#include <QAbstractAnimation>

// Composite tests decide the motion preference themselves (no desktop is asked) and drive
// animations by setting their time, so nothing waits.
class CompositeTest : public ::testing::Test {
    kittest::MotionOverride motion { false };
};

inline void finish(QAbstractAnimation* animation)
{
    ASSERT_NE(animation, nullptr);
    ASSERT_GE(animation->totalDuration(), 0);
    animation->setCurrentTime(animation->totalDuration());
}
