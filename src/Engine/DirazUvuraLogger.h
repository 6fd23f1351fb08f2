#pragma once

#include <QPointF>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <functional>

namespace tremlor {

// The smart-pause diagnostic log: category "com.tremlor.app.DirazUvura", to the systemd
// journal when one runs, else to standard error.
class DirazUvuraLogger final {
public:
    enum class Level { debug, info };
    // Receives every message instead of the journal or standard error (tests).
    using Sink = std::function<void(Level, const QString&)>;

    DirazUvuraLogger() = delete;

    static void monitoringStarted(double threshold, QPointF position, QPointF syntheticPosition);
    static void stopMonitoring();
    static void checkDetail(std::int64_t checkCount, QPointF position, QPointF syntheticPosition, bool posMoved,
        bool userMouse, double mouseIdle, double kbHID, double synthNM, bool realKB, double eff, double threshold,
        bool idle, bool changed);
    static void stateChange(bool idle);
    static void engineEnabled(double threshold, bool simulateKeyboard, bool simulateClicks);
    static void engineDisabled();
    static void userIdle();
    static void userActive();
    static void callbackIgnored();

    static void setSink(Sink sink);

private:
    static void write(Level level, const QString& message);
};

} // namespace tremlor
