#include "Models/Duration.h"
#include "Models/Enumerations.h"

#include <gtest/gtest.h>

using namespace tremlor;

TEST(Duration, ResolvesIdsAndHonoursStoredCustomDefaults)
{
    EXPECT_EQ(Duration::resolve("4h"), Duration::hours4());
    EXPECT_EQ(Duration::resolve("inf"), Duration::indefinite());
    EXPECT_EQ(Duration::resolve(""), Duration::hours1());
    EXPECT_EQ(Duration::resolve("2H"), Duration::hours1());
    EXPECT_EQ(Duration::resolve("custom_90"), Duration::custom(90));
    for (const char* bad : { "custom_0", "custom_-5", "custom_090", "custom_+9", "custom_10000001", "custom_ 9",
                             "custom_", "custom_9x" })
        EXPECT_EQ(Duration::resolve(bad), Duration::hours1()) << bad;
    EXPECT_EQ(Duration::resolve("custom_10000000"), Duration::custom(10'000'000));
}

TEST(Enumerations, RawValuesAreExact)
{
    EXPECT_EQ(fromRawValue<MovementPattern>("natural"), MovementPattern::natural);
    EXPECT_EQ(fromRawValue<MovementPattern>("Natural"), std::nullopt);
    EXPECT_EQ(rawValue(MenuBarDisplayMode::iconAndAppName), "iconAndAppName");
    EXPECT_EQ(allCases<SettingsSection>().size(), 8u);
}
