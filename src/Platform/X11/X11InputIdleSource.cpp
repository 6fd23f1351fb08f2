#include "Platform/X11/X11InputIdleSource.h"

#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11InputListener.h"

namespace tremlor::x11 {

X11InputIdleSource::X11InputIdleSource(const QString& displayName)
    : m_connection(std::make_unique<X11Connection>(displayName))
    , m_listener(std::make_unique<X11InputListener>(displayName))
{
}

X11InputIdleSource::~X11InputIdleSource() = default;

QPointF X11InputIdleSource::cursorLocation()
{
    std::lock_guard guard(m_lock);
    return m_connection->cursorLocation();
}

double X11InputIdleSource::secondsSinceLastEvent(InputEventType type)
{
    return m_listener->secondsSinceLastEvent(type, std::chrono::steady_clock::now());
}

bool X11InputIdleSource::isListening() const
{
    return m_listener->isListening();
}

} // namespace tremlor::x11
