#pragma once

#include <QIcon>
#include <QString>

#include <cstddef>
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <optional>

namespace tremlor {

namespace xdg {
class DesktopEntryLookup;
}

// An installed application: its desktop-file ID (the bundle identifier, also its identity), the
// name shown to the user and the path of its desktop entry. A value; the fields never change.
class AppInfo final {
public:
    AppInfo() = default;
    AppInfo(QString bundleIdentifier, QString name, QString path);

    const QString& bundleIdentifier() const { return m_bundleIdentifier; }
    const QString& name() const { return m_name; }
    const QString& path() const { return m_path; }
    const QString& id() const { return m_bundleIdentifier; }

    // The entry's Icon (theme name or file), else the generic "application-x-executable". Read
    // afresh every time; never fails.
    QIcon icon() const;
    // A managed top-level window belongs to the application, or a process that we launched for
    // it is still alive. Asked afresh every time.
    bool isRunning() const;

    // The record of an installed application: name = Name, else the localised Name, else the
    // identifier; path = the entry's file. Nothing when no application entry is found.
    static std::optional<AppInfo> installed(const QString& bundleIdentifier, const xdg::DesktopEntryLookup& lookup);

    // {"bundleIdentifier":…,"name":…,"path":…}, members in that order.
    nlohmann::ordered_json toJson() const;
    // All three string members required; other members are ignored.
    static std::optional<AppInfo> fromJson(const nlohmann::json& json);

    friend bool operator==(const AppInfo&, const AppInfo&) = default;

private:
    QString m_bundleIdentifier;
    QString m_name;
    QString m_path;
};

std::size_t qHash(const AppInfo& app, std::size_t seed = 0) noexcept;

} // namespace tremlor

template <> struct std::hash<tremlor::AppInfo> {
    std::size_t operator()(const tremlor::AppInfo& app) const noexcept { return tremlor::qHash(app); }
};
