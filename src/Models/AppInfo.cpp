#include "Models/AppInfo.h"

#include "Platform/X11/RunningApps.h"
#include "Platform/Xdg/AppLauncher.h"
#include "Platform/Xdg/ApplicationFolders.h"
#include "Platform/Xdg/DesktopEntry.h"
#include "Platform/Xdg/DesktopEntryLookup.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHashFunctions>
#include <QPainter>
#include <QPixmap>
#include <QThread>

#include <nlohmann/json.hpp>
#include <utility>

namespace tremlor {

namespace {

const QString genericIconName = QStringLiteral("application-x-executable");

// The record's own entry when its path holds one, else the entry found for its identifier.
std::optional<xdg::DesktopEntry> entryOf(const AppInfo& app)
{
    const QStringList locales = xdg::DesktopEntry::localeNamesFromEnvironment();
    if (!app.path().isEmpty()) {
        if (auto entry = xdg::DesktopEntry::load(app.path(), app.bundleIdentifier(), locales))
            return entry;
    }
    if (!xdg::ApplicationFolders::isValidId(app.bundleIdentifier()))
        return std::nullopt;
    return xdg::DesktopEntryLookup().entry(app.bundleIdentifier());
}

// Drawn when the icon theme lacks the generic application icon: a plain window glyph.
QIcon genericIcon()
{
    // Pixmaps exist only with a GUI application, on its thread.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())
        || QThread::currentThread() != QCoreApplication::instance()->thread())
        return {};
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x5e, 0x5c, 0x64), 3));
    painter.setBrush(QColor(0xde, 0xdd, 0xda));
    painter.drawRoundedRect(QRectF(6.5, 10.5, 51, 43), 6, 6);
    painter.setBrush(QColor(0x5e, 0x5c, 0x64));
    painter.drawRect(QRectF(6.5, 10.5, 51, 9));
    painter.end();
    return QIcon(pixmap);
}

} // namespace

AppInfo::AppInfo(QString bundleIdentifier, QString name, QString path)
    : m_bundleIdentifier(std::move(bundleIdentifier))
    , m_name(std::move(name))
    , m_path(std::move(path))
{
}

QIcon AppInfo::icon() const
{
    const auto entry = m_path.isEmpty()
        ? std::nullopt
        : xdg::DesktopEntry::load(m_path, m_bundleIdentifier, xdg::DesktopEntry::localeNamesFromEnvironment());
    if (entry && !entry->icon.isEmpty()) {
        if (QFileInfo(entry->icon).isAbsolute()) {
            if (QFileInfo(entry->icon).isFile())
                return QIcon(entry->icon);
        } else if (QIcon::hasThemeIcon(entry->icon)) {
            return QIcon::fromTheme(entry->icon);
        }
    }
    if (QIcon::hasThemeIcon(genericIconName))
        return QIcon::fromTheme(genericIconName);
    return genericIcon();
}

bool AppInfo::isRunning() const
{
    if (m_bundleIdentifier.isEmpty())
        return false;
    if (xdg::AppLauncher::hasLiveProcess(m_bundleIdentifier))
        return true;
    const auto entry = entryOf(*this);
    return entry && x11::RunningApps::isRunningOnDefaultDisplay(*entry);
}

std::optional<AppInfo> AppInfo::installed(const QString& bundleIdentifier, const xdg::DesktopEntryLookup& lookup)
{
    const auto found = lookup.entry(bundleIdentifier);
    if (!found)
        return std::nullopt;
    QString name = found->name;
    if (name.isEmpty())
        name = found->localizedName;
    if (name.isEmpty())
        name = bundleIdentifier;
    return AppInfo(bundleIdentifier, name, found->filePath);
}

nlohmann::ordered_json AppInfo::toJson() const
{
    nlohmann::ordered_json json;
    json["bundleIdentifier"] = m_bundleIdentifier.toStdString();
    json["name"] = m_name.toStdString();
    json["path"] = m_path.toStdString();
    return json;
}

std::optional<AppInfo> AppInfo::fromJson(const nlohmann::json& json)
{
    if (!json.is_object())
        return std::nullopt;
    QString fields[3];
    const char* keys[3] = { "bundleIdentifier", "name", "path" };
    for (int i = 0; i < 3; ++i) {
        const auto it = json.find(keys[i]);
        if (it == json.end() || !it->is_string())
            return std::nullopt;
        fields[i] = QString::fromStdString(it->get<std::string>());
    }
    return AppInfo(fields[0], fields[1], fields[2]);
}

std::size_t qHash(const AppInfo& app, std::size_t seed) noexcept
{
    return qHashMulti(seed, app.bundleIdentifier(), app.name(), app.path());
}

} // namespace tremlor
