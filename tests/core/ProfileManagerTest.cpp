#include "Engine/ProfileManager.h"

#include "Models/TremlorSettings.h"
#include "Platform/UserDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tremlor;

// Saving, finding, applying and deleting go through the store and survive a reload.
TEST(ProfileManager, SavesAppliesAndDeletesThroughTheStore)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QUuid savedId;
    {
        UserDefaults defaults(dir.path());
        TremlorSettings settings(defaults);
        ProfileManager manager(settings);
        settings.setMaxInterval(12.0);
        settings.setSelectedAppBundleIDs({ "org.example.Editor" });

        const Profile saved = manager.saveCurrentSettings("Focus");
        savedId = saved.id;
        EXPECT_EQ(saved.name, "Focus");
        EXPECT_EQ(saved.maxInterval, 12.0);
        ASSERT_EQ(manager.profiles().size(), 1);
        EXPECT_EQ(manager.profile(saved.id), saved);
        EXPECT_FALSE(manager.profile(QUuid::createUuid()).has_value());
        defaults.synchronize();
    }
    {
        UserDefaults defaults(dir.path());
        TremlorSettings settings(defaults);
        ProfileManager manager(settings);
        ASSERT_TRUE(manager.profile(savedId).has_value());

        settings.setMaxInterval(30.0);
        settings.setSelectedAppBundleIDs({});
        EXPECT_TRUE(manager.applyProfile(savedId));
        EXPECT_EQ(settings.maxInterval(), 12.0);
        EXPECT_EQ(settings.selectedAppBundleIDs(), QStringList { "org.example.Editor" });
        EXPECT_EQ(settings.activeProfileId(), savedId.toString(QUuid::WithoutBraces).toUpper());

        EXPECT_FALSE(manager.applyProfile(QUuid::createUuid()));
        EXPECT_FALSE(manager.deleteProfile(QUuid::createUuid()));
        EXPECT_EQ(manager.profiles().size(), 1);
        EXPECT_TRUE(manager.deleteProfile(savedId));
        EXPECT_TRUE(manager.profiles().isEmpty());
        EXPECT_FALSE(manager.applyProfile(savedId));
    }
}
