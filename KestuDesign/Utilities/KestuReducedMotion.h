#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

class QDBusMessage;

namespace kestu {

// Whether the desktop asks for reduced motion, from, in order: the settings portal's
// org.freedesktop.appearance "reduced-motion", the X settings manager's
// "Gtk/EnableAnimations", then GNOME's org.gnome.desktop.interface "enable-animations"; until
// one answers, motion is allowed. Cheap: every kit animation asks it as it starts; the answer
// follows the desktop's changes. Tests override it.
bool prefersReducedMotion();
// Forces the answer (std::nullopt goes back to the desktop's preference).
void setReducedMotionOverride(std::optional<bool> reduced);

// Follows the desktop's reduced-motion preference without blocking its thread: the portal is
// asked asynchronously and its SettingChanged signal followed; the X settings (and their
// changes) and GNOME's tool are read on a thread of its own.
class ReducedMotionNotifier final : public QObject {
    Q_OBJECT

public:
    // bus: where the portal is asked (unconnected: not asked); display: the X display ("":
    // $DISPLAY, none asked when DISPLAY is unset); gsettings: the tool (empty: not run).
    ReducedMotionNotifier(
        const QDBusConnection& bus, const QByteArray& display, const QString& gsettings, QObject* parent = nullptr);
    ~ReducedMotionNotifier() override;
    Q_DISABLE_COPY_MOVE(ReducedMotionNotifier)

    bool reduced() const { return m_reduced; }

Q_SIGNALS:
    void changed(bool reduced);

private Q_SLOTS:
    // The portal's SettingChanged(group, key, value); other settings are ignored.
    void onSettingChanged(const QDBusMessage& message);
    // Applies the answers the worker thread posted.
    void takePosted();

private:
    enum Source { portal, xsettings, gnome };
    void askPortal(const QString& method);
    void set(Source source, std::optional<bool> value);
    // From the worker thread: `value` reaches set() on the notifier's thread.
    void post(Source source, std::optional<bool> value);
    // On the worker thread: answers of the X settings and GNOME's tool.
    void watchDesktop(QByteArray display, QString gsettings);

    QDBusConnection m_bus;
    std::array<std::optional<bool>, 3> m_sources;
    bool m_reduced = false;
    std::mutex m_mutex; // guards the three below
    void* m_xcb = nullptr;
    bool m_stopping = false;
    std::vector<std::pair<Source, std::optional<bool>>> m_posted;
    std::thread m_worker;
};

namespace ReducedMotion {
// The process's notifier over the session bus and $DISPLAY (made on first use, on the GUI
// thread; null without an application object). Views connect to its `changed` signal.
ReducedMotionNotifier* notifier();
// The X settings manager's answer ("Gtk/EnableAnimations" 0 asks for reduced motion) on an
// xcb_connection_t for `screen`, or nothing when no manager runs or it has no such setting.
std::optional<bool> fromXSettings(void* xcbConnection, int screen);
// The integer settings of an _XSETTINGS_SETTINGS property; malformed data gives what was read
// before the fault.
QHash<QString, int> parseXSettingsIntegers(const QByteArray& data);
// GNOME's answer through the gsettings tool, or nothing when the tool or schema is missing.
std::optional<bool> fromGSettings(const QString& program = QStringLiteral("gsettings"), int timeoutMs = 500);
} // namespace ReducedMotion

} // namespace kestu
