#pragma once

#include "Models/Duration.h"

#include <QObject>
#include <QString>

namespace tremlor {

// What the interface reads of the session engine and the two operations it calls. Main thread
// only. Every change of a published value is announced after it is stored, so views redraw from
// the signals (and tests can stand in a fake that emits them).
class TremlorEngineProtocol : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isActive READ isActive NOTIFY isActiveChanged)
    Q_PROPERTY(bool isPausedByIdle READ isPausedByIdle NOTIFY isPausedByIdleChanged)
    Q_PROPERTY(QString remainingTimeString READ remainingTimeString NOTIFY remainingTimeStringChanged)
    Q_PROPERTY(QString currentAppName READ currentAppName NOTIFY currentAppNameChanged)
    Q_PROPERTY(QString nextAppName READ nextAppName NOTIFY nextAppNameChanged)
    Q_PROPERTY(double sessionProgress READ sessionProgress NOTIFY countdownChanged)
    Q_PROPERTY(bool isIndefinite READ isIndefinite NOTIFY countdownChanged)
    Q_PROPERTY(double remainingSeconds READ remainingSeconds NOTIFY countdownChanged)

public:
    using QObject::QObject;
    ~TremlorEngineProtocol() override = default;

    virtual bool isActive() const = 0;
    virtual bool isPausedByIdle() const = 0;
    virtual QString remainingTimeString() const = 0;
    virtual QString currentAppName() const = 0;
    virtual QString nextAppName() const = 0;

    // Elapsed fraction of the session, 0…1.
    virtual double sessionProgress() const = 0;
    // The countdown's indefinite flag and remaining seconds, for the panel.
    virtual bool isIndefinite() const = 0;
    virtual double remainingSeconds() const = 0;

    virtual void start(const Duration& duration) = 0;
    virtual void stop(bool dueToExpiry) = 0;

Q_SIGNALS:
    void isActiveChanged(bool isActive);
    void isPausedByIdleChanged(bool isPausedByIdle);
    void remainingTimeStringChanged(const QString& remainingTimeString);
    void currentAppNameChanged(const QString& currentAppName);
    void nextAppNameChanged(const QString& nextAppName);
    // The countdown's remaining seconds changed (progress, indefinite flag, remaining seconds).
    void countdownChanged();
};

} // namespace tremlor
