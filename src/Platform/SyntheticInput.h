#pragma once

#include <QPointF>

#include <chrono>

namespace tremlor {

using SyntheticTime = std::chrono::steady_clock::time_point;
// "Never": reads as a very large elapsed time.
inline constexpr SyntheticTime distantPast = SyntheticTime::min();
// Seconds from `from` to `to`; a very large number when `from` is distantPast.
double secondsBetween(SyntheticTime from, SyntheticTime to);

// The process-wide record of the program's own synthetic input, written by the mouse mover and
// its event poster and read by the idle monitor, so the program never mistakes itself for the
// user. Any thread; each access takes one lock.
namespace syntheticInput {
bool isMoving();
QPointF lastPosition();
SyntheticTime lastNonMouseTime();
void setMoving(bool moving);
void setLastPosition(QPointF position);
void setLastNonMouseTime(SyntheticTime time);
} // namespace syntheticInput

} // namespace tremlor
