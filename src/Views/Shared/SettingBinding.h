#pragma once

#include <QObject>

#include <utility>

namespace tremlor {

// Redraws a control from the store or the engine: runs `refresh` now and again after each of
// the sender's `signals`, for as long as `context` lives. Views never connect per setting by hand.
template <typename Sender, typename Refresh, typename... Signals>
void watch(QObject* context, const Sender* sender, Refresh refresh, Signals... signals)
{
    (QObject::connect(sender, signals, context, [refresh] { refresh(); }), ...);
    refresh();
}

} // namespace tremlor
