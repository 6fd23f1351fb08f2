#include "Engine/ProfileManager.h"

#include "TempDefaults.h"

#include <gtest/gtest.h>

using namespace tremlor;

// The manager works on the store's list; what the store keeps across a restart is the store's
// own test (Settings.EachListChangeIsSavedOnceWhole).
TEST(ProfileManager, SavesAppliesAndDeletesThroughTheStore)
{
    TempDefaults temp;
    TremlorSettings& settings = temp.settings();
    ProfileManager manager(settings);
    settings.setMaxInterval(12.0);
    settings.setSelectedAppBundleIDs({ "org.example.Editor" });
    const Profile saved = manager.saveCurrentSettings("Focus");
    EXPECT_EQ(saved.name, "Focus");
    EXPECT_EQ(settings.profiles(), QList<Profile> { saved });
    EXPECT_EQ(manager.profile(saved.id), saved);
    EXPECT_FALSE(manager.profile(QUuid::createUuid()).has_value());

    settings.setMaxInterval(30.0);
    settings.setSelectedAppBundleIDs({});
    EXPECT_TRUE(manager.applyProfile(saved.id));
    EXPECT_EQ(settings.maxInterval(), 12.0);
    EXPECT_EQ(settings.selectedAppBundleIDs(), QStringList { "org.example.Editor" });
    EXPECT_EQ(settings.activeProfileId(), saved.id.toString(QUuid::WithoutBraces).toUpper());

    EXPECT_FALSE(manager.applyProfile(QUuid::createUuid()));
    EXPECT_FALSE(manager.deleteProfile(QUuid::createUuid()));
    EXPECT_TRUE(manager.deleteProfile(saved.id));
    EXPECT_TRUE(manager.profiles().isEmpty());
    EXPECT_FALSE(manager.applyProfile(saved.id));
}
