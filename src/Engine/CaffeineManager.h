#pragma once

#include "Engine/CaffeineManaging.h"
#include "Platform/SleepPreventing.h"

#include <QString>

#include <memory>

namespace tremlor {

class CaffeineManager final : public CaffeineManaging {
public:
    // The reason shown by the system's power tools.
    static QString reason() { return QStringLiteral("Tremlor is keeping the system awake"); }

    explicit CaffeineManager(std::shared_ptr<SleepPreventing> sleepPreventer);
    Q_DISABLE_COPY_MOVE(CaffeineManager)

    bool isEnabled() const override;
    void enable() override;
    void disable() override;

private:
    const std::shared_ptr<SleepPreventing> m_sleepPreventer;
};

} // namespace tremlor
