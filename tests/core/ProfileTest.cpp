#include "Models/Profile.h"

#include <gtest/gtest.h>

#include <unordered_set>

using namespace tremlor;

namespace {

Profile sample()
{
    return { QUuid::fromString(QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF")), QStringLiteral("Work"),
        { "org.gnome.Calculator", "firefox" }, 45.5, 3.0, MovementPattern::circle, RotationMode::random,
        Duration::custom(45), true, 3, false };
}

constexpr const char* sampleJson
    = R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","name":"Work","selectedAppBundleIDs":["org.gnome.Calculator","firefox"],)"
      R"("maxInterval":45.5,"jiggleDistance":3,"movementPattern":"circle","rotationMode":"random",)"
      R"("duration":{"custom":{"minutes":45}},"caffeineEnabled":true,"appSwitchInterval":3,"launchIfNotRunning":false})";

} // namespace

TEST(Profile, DuplicateGetsFreshIdAndNameAndEveryFieldCounts)
{
    const Profile work = sample();
    const Profile copy = work.duplicate();
    EXPECT_EQ(copy.name, "Work Copy");
    EXPECT_EQ(work.duplicate(QString()).name, ""); // an empty name given is kept, not replaced
    EXPECT_NE(copy.id, work.id);
    Profile same = copy;
    same.id = work.id;
    same.name = work.name;
    EXPECT_EQ(same, work);

    // Equality and hashing cover every field: twelve distinct profiles, the last one unchanged.
    std::vector<Profile> variants(12, work);
    variants[0].id = QUuid::createUuid();
    variants[1].name += "x";
    variants[2].selectedAppBundleIDs = { "firefox", "org.gnome.Calculator" };
    variants[3].maxInterval = 45.25;
    variants[4].jiggleDistance = 4;
    variants[5].movementPattern = MovementPattern::drift;
    variants[6].rotationMode = RotationMode::sequential;
    variants[7].duration = Duration::custom(46);
    variants[8].caffeineEnabled = false;
    variants[9].appSwitchInterval = 4;
    variants[10].launchIfNotRunning = true;
    EXPECT_EQ(std::unordered_set<Profile>(variants.begin(), variants.end()).size(), 12u);
    EXPECT_EQ(std::count(variants.begin(), variants.end(), work), 1);

    Profile zero = work, negativeZero = work;
    zero.maxInterval = 0.0;
    negativeZero.maxInterval = -0.0;
    EXPECT_EQ(zero, negativeZero);
    EXPECT_EQ(qHash(zero), qHash(negativeZero));
}

TEST(Profile, JsonFormRoundTrips)
{
    // The round trip of whole lists is the settings file's (SettingsFile.ExportThenImport...).
    EXPECT_EQ(Profile::encodeList({ sample() }), QByteArray("[") + sampleJson + "]");

    // Any member order, lower-case ids, extra members.
    const auto reordered = Profile::decodeList(
        R"([{"launchIfNotRunning":false,"appSwitchInterval":3,"caffeineEnabled":true,"duration":{"custom":{"minutes":45}},)"
        R"("rotationMode":"random","movementPattern":"circle","jiggleDistance":3.0,"maxInterval":45.5,"extra":[1],)"
        R"("selectedAppBundleIDs":["org.gnome.Calculator","firefox"],"name":"Work","id":"6f9619ff-8b86-d011-b42d-00c04fc964ff"}])");
    ASSERT_TRUE(reordered);
    EXPECT_EQ(reordered.value->front(), sample());
}
