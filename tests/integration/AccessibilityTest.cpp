#include "Helpers/AccessibilityHelper.h"
#include "support/TestDesktop.h"

#include <gtest/gtest.h>

using namespace tremlor;

TEST(Accessibility, TrustedWhereTheDisplayOffersXTestAndXInput2)
{
    TestDesktop::Options options;
    options.sessionBus = false;
    options.systemBus = false;
    TestDesktop desktop(options);
    REQUIRE_DESKTOP(desktop);
    AccessibilityHelper helper(desktop.display().toLocal8Bit());
    EXPECT_TRUE(helper.isTrusted());
    EXPECT_EQ(helper.requestAccess(false), helper.isTrusted());
    EXPECT_EQ(helper.requestAccess(true), helper.isTrusted()); // no prompt on X11

    // No display to post to: not trusted, and asking does not change that.
    AccessibilityHelper nowhere(TestDesktop::absentDisplay().toLocal8Bit());
    EXPECT_FALSE(nowhere.isTrusted());
    EXPECT_FALSE(nowhere.requestAccess(true));
}
