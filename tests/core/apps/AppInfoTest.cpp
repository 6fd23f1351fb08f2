#include "Models/AppInfo.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <unordered_set>

using tremlor::AppInfo;

TEST(AppInfo, IdentityIsTheBundleIdentifierWhileHashingCoversEveryField)
{
    const AppInfo a("org.example.Editor", "Editor", "/usr/share/applications/org.example.Editor.desktop");
    const AppInfo b("org.example.Editor", "Editor", "/home/u/.local/share/applications/org.example.Editor.desktop");
    EXPECT_EQ(a.id(), b.id());
    // Fields do not run together in the hash: ("ab","c") and ("a","bc") differ.
    EXPECT_NE(qHash(AppInfo("ab", "c", "")), qHash(AppInfo("a", "bc", "")));
    EXPECT_EQ((std::unordered_set<AppInfo> { a, b, a }).size(), 2u);
}

TEST(AppInfo, JsonRoundTripsAndRequiresEveryMember)
{
    const AppInfo app("xterm", "XTerm \"quoted\" ünïcode", "/usr/share/applications/xterm.desktop");
    const auto json = app.toJson();
    EXPECT_EQ(json.dump(),
        R"({"bundleIdentifier":"xterm","name":"XTerm \"quoted\" ünïcode",)"
        R"("path":"/usr/share/applications/xterm.desktop"})");
    EXPECT_EQ(AppInfo::fromJson(nlohmann::json::parse(json.dump())), app);
    for (const char* bad :
        { R"({"bundleIdentifier":"b","name":"n"})", R"({"bundleIdentifier":"b","name":"n","path":1})",
            R"({"bundleIdentifier":null,"name":"n","path":"p"})", R"(["b","n","p"])", "null" })
        EXPECT_FALSE(AppInfo::fromJson(nlohmann::json::parse(bad))) << bad;
}

namespace {

QString writeEntry(const QTemporaryDir& dir, const QString& name, const QByteArray& icon)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("[Desktop Entry]\nType=Application\nName=App\nIcon=" + icon + "\n");
    return path;
}

} // namespace

TEST(AppInfo, IconIsTheEntrysFileOrTheGenericApplicationIcon)
{
    QTemporaryDir dir;
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dir.filePath("own.png")));
    const QIcon own = AppInfo("own", "Own", writeEntry(dir, "own.desktop", dir.filePath("own.png").toUtf8())).icon();
    ASSERT_FALSE(own.isNull());
    EXPECT_EQ(own.pixmap(48, 48).toImage().pixelColor(24, 24), QColor(Qt::red));

    const bool themed = QIcon::hasThemeIcon("application-x-executable");
    const QIcon generic[] = {
        AppInfo("app", "App", "/nonexistent/app.desktop").icon(),
        AppInfo("app", "App", writeEntry(dir, "a.desktop", "/nonexistent/icon.png")).icon(),
        AppInfo("app", "App", writeEntry(dir, "b.desktop", "no-such-theme-icon-anywhere")).icon(),
    };
    for (const QIcon& icon : generic) {
        EXPECT_FALSE(icon.pixmap(32, 32).isNull());
        if (themed) {
            EXPECT_EQ(icon.name(), "application-x-executable");
        }
    }
}
