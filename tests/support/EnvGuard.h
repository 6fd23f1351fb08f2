#pragma once

#include <QByteArray>
#include <QList>

#include <utility>

namespace tremlor::testing {

// Restores the named environment variables (set or unset) when it goes.
struct EnvGuard {
    explicit EnvGuard(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            m_saved.append({ name, qgetenv(name) });
    }
    ~EnvGuard()
    {
        for (const auto& [name, value] : m_saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    Q_DISABLE_COPY_MOVE(EnvGuard)
    QList<std::pair<const char*, QByteArray>> m_saved;
};

} // namespace tremlor::testing
