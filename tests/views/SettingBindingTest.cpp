#include "Views/Shared/SettingBinding.h"

#include "core/TempDefaults.h"

#include <memory>

using namespace tremlor;

// A view redraws at once, after each change of what it watches, and never after it is gone.
TEST(SettingBinding, RefreshesNowOnEachChangeAndNotAfterTheViewIsGone)
{
    TempDefaults temp;
    TremlorSettings& settings = temp.settings();
    int refreshes = 0;
    auto view = std::make_unique<QObject>();
    watch(
        view.get(), &settings, [&] { ++refreshes; }, &TremlorSettings::maxIntervalChanged,
        &TremlorSettings::profilesChanged);
    EXPECT_EQ(refreshes, 1);
    settings.setMaxInterval(12);
    settings.setProfiles({ settings.captureAsProfile(QStringLiteral("Work")) });
    EXPECT_EQ(refreshes, 3);
    view.reset();
    settings.setMaxInterval(13);
    EXPECT_EQ(refreshes, 3);
}
