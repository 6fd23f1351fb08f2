#pragma once

#include <QDBusConnection>
#include <QObject>

#include <functional>

namespace tremlor {

// One Tremlor per user session: the first owns com.tremlor.app on the session bus; a later one
// asks it to open its settings window and leaves. Two would move the pointer twice and
// overwrite each other's settings file.
class SingleInstance final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.tremlor.app")

public:
    static constexpr const char* serviceName = "com.tremlor.app";
    static constexpr const char* objectPath = "/com/tremlor/app";

    enum class Outcome {
        first, // this process owns the name (or there is no session bus to ask)
        handedOver, // another instance took the request; this one should exit with status 0
        failed, // neither: running on would make a second instance; see failure()
    };

    SingleInstance(QDBusConnection bus, QObject* parent = nullptr);

    // Claims the name without waiting; `done` runs once with the outcome.
    void claim(std::function<void(Outcome)> done);
    // Why the claim failed, for the user.
    QString failure() const { return m_failure; }
    // What the first instance does when a later one asks.
    void setOpenSettingsHandler(std::function<void()> handler) { m_openSettings = std::move(handler); }

public Q_SLOTS:
    // Returns at once; the window opens on the next turn of the event loop.
    Q_SCRIPTABLE void OpenSettings();

private:
    using Done = std::function<void(Outcome)>;
    // Asks for the name, else hands over to its owner; `tries` counts the owners that may quit
    // between the two.
    void requestName(int tries, Done done);
    void handOver(int tries, Done done);
    void fail(const QString& why, const Done& done);

    QDBusConnection m_bus;
    std::function<void()> m_openSettings;
    QString m_failure;
};

} // namespace tremlor
