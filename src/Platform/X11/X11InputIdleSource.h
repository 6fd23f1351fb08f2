#pragma once

#include "Platform/InputIdleSource.h"

#include <QString>

#include <memory>
#include <mutex>

namespace tremlor::x11 {

class X11Connection;
class X11InputListener;

// The idle monitor's view of an X11 session: the pointer over a connection of its own and the
// raw-event listener's idle times.
class X11InputIdleSource final : public InputIdleSource {
public:
    explicit X11InputIdleSource(const QString& displayName = {});
    ~X11InputIdleSource() override;

    QPointF cursorLocation() override;
    double secondsSinceLastEvent(InputEventType type) override;
    bool isListening() const;

private:
    std::mutex m_lock;
    std::unique_ptr<X11Connection> m_connection;
    std::unique_ptr<X11InputListener> m_listener;
};

} // namespace tremlor::x11
