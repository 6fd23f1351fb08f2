#pragma once

#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QAbstractAnimation>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

// Composite tests decide the motion preference themselves (no desktop is asked) and drive
// animations by setting their time, so nothing waits.
class CompositeTest : public ::testing::Test {
protected:
    void SetUp() override { kestu::setReducedMotionOverride(false); }
    void TearDown() override { kestu::setReducedMotionOverride(std::nullopt); }
};

// Moves an animation (or group) to `ms` after its start; at or past its end it stops there.
inline void seek(QAbstractAnimation* animation, int ms)
{
    ASSERT_NE(animation, nullptr);
    animation->setCurrentTime(ms);
}

inline void finish(QAbstractAnimation* animation)
{
    ASSERT_NE(animation, nullptr);
    ASSERT_GE(animation->totalDuration(), 0);
    animation->setCurrentTime(animation->totalDuration());
}

template <typename T> T* childNamed(const QObject* parent, const QString& name)
{
    return parent->findChild<T*>(name);
}
