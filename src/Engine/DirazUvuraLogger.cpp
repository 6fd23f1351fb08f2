#include "Engine/DirazUvuraLogger.h"

#include <QLoggingCategory>

#include <cmath>
#include <mutex>
#include <sys/stat.h>
#include <systemd/sd-journal.h>

namespace tremlor {

// Debug lines (every check, every session start) stay quiet unless QT_LOGGING_RULES turns them on.
Q_LOGGING_CATEGORY(diraUvuraCategory, "com.tremlor.app.DirazUvura", QtInfoMsg)

namespace {

std::mutex& sinkLock()
{
    static std::mutex lock;
    return lock;
}

DirazUvuraLogger::Sink& sink()
{
    static DirazUvuraLogger::Sink current;
    return current;
}

bool journalRuns()
{
    static const bool runs = [] {
        struct stat info { };
        return ::stat("/run/systemd/journal/socket", &info) == 0 && S_ISSOCK(info.st_mode);
    }();
    return runs;
}

const char* yn(bool value)
{
    return value ? "Y" : "N";
}

// Converts towards zero like the reference's integer conversion, without undefined behaviour.
long toLong(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9.2e18)
        return 9'200'000'000'000'000'000L;
    if (value <= -9.2e18)
        return -9'200'000'000'000'000'000L;
    return static_cast<long>(value);
}

} // namespace

void DirazUvuraLogger::setSink(Sink newSink)
{
    std::lock_guard guard(sinkLock());
    sink() = std::move(newSink);
}

void DirazUvuraLogger::write(Level level, const QString& message)
{
    Sink current;
    {
        std::lock_guard guard(sinkLock());
        current = sink();
    }
    if (current) {
        current(level, message);
        return;
    }
    const QLoggingCategory& category = diraUvuraCategory();
    const bool enabled = level == Level::debug ? category.isDebugEnabled() : category.isInfoEnabled();
    if (!enabled)
        return;
    if (journalRuns()) {
        const QByteArray text = message.toUtf8();
        sd_journal_send("MESSAGE=%s", text.constData(), "PRIORITY=%d", level == Level::debug ? LOG_DEBUG : LOG_INFO,
            "SYSLOG_IDENTIFIER=tremlor", "TREMLOR_SUBSYSTEM=com.tremlor.app", "TREMLOR_CATEGORY=DirazUvura",
            "QT_CATEGORY=%s", category.categoryName(), nullptr);
        return;
    }
    if (level == Level::debug)
        qCDebug(diraUvuraCategory).noquote() << message;
    else
        qCInfo(diraUvuraCategory).noquote() << message;
}

void DirazUvuraLogger::monitoringStarted(double threshold, QPointF position, QPointF syntheticPosition)
{
    write(Level::debug,
        QString::asprintf("START monitoring \u2014 threshold=%.*fs initIdle=Y initPos=(%ld,%ld) synthPos=(%ld,%ld)", 0,
            threshold, toLong(position.x()), toLong(position.y()), toLong(syntheticPosition.x()),
            toLong(syntheticPosition.y())));
}

void DirazUvuraLogger::stopMonitoring()
{
    write(Level::debug, QStringLiteral("STOP monitoring"));
}

void DirazUvuraLogger::checkDetail(std::int64_t checkCount, QPointF position, QPointF syntheticPosition, bool posMoved,
    bool userMouse, double mouseIdle, double kbHID, double synthNM, bool realKB, double eff, double threshold,
    bool idle, bool changed)
{
    write(Level::debug,
        QString::asprintf("#%ld pos=(%ld,%ld) synthPos=(%ld,%ld) posMoved=%s userMouse=%s mouseIdle=%.*fs "
                          "kbHID=%.*fs synthNM=%.*fs realKB=%s eff=%.*fs thresh=%.*fs idle=%s chg=%s",
            static_cast<long>(checkCount), toLong(position.x()), toLong(position.y()), toLong(syntheticPosition.x()),
            toLong(syntheticPosition.y()), yn(posMoved), yn(userMouse), 1, mouseIdle, 1, kbHID, 1, synthNM, yn(realKB),
            1, eff, 0, threshold, yn(idle), yn(changed)));
}

void DirazUvuraLogger::stateChange(bool idle)
{
    write(Level::info,
        QStringLiteral("*** STATE CHANGE \u2192 ")
            + (idle ? QStringLiteral("USER_IDLE (resume jiggling)") : QStringLiteral("USER_ACTIVE (pause jiggling)")));
}

void DirazUvuraLogger::engineEnabled(double threshold, bool simulateKeyboard, bool simulateClicks)
{
    write(Level::debug,
        QString::asprintf("ENGINE: smartIdle ENABLED threshold=%.*fs simKB=%s simClicks=%s", 0, threshold,
            yn(simulateKeyboard), yn(simulateClicks)));
}

void DirazUvuraLogger::engineDisabled()
{
    write(Level::debug, QStringLiteral("ENGINE: smartIdle DISABLED \u2014 skipping idle monitoring"));
}

void DirazUvuraLogger::userIdle()
{
    write(Level::info, QStringLiteral("ENGINE: user idle \u2192 RESUME jiggling"));
}

void DirazUvuraLogger::userActive()
{
    write(Level::info, QStringLiteral("ENGINE: user active \u2192 PAUSE jiggling"));
}

void DirazUvuraLogger::callbackIgnored()
{
    write(Level::debug, QStringLiteral("callback ignored \u2014 engine not active"));
}

} // namespace tremlor
