#include "Platform/SyntheticInput.h"

#include <mutex>

namespace tremlor {

namespace {

// "Never", as elapsed seconds: two thousand years.
constexpr double distantPastSeconds = 63113904000.0;

struct Record {
    std::mutex lock;
    bool isMoving = false;
    QPointF lastPosition;
    SyntheticTime lastNonMouseTime = distantPast;
};

Record& record()
{
    static Record instance;
    return instance;
}

template <typename T> T read(T Record::*field)
{
    auto& r = record();
    std::lock_guard guard(r.lock);
    return r.*field;
}

template <typename T> void write(T Record::*field, T value)
{
    auto& r = record();
    std::lock_guard guard(r.lock);
    r.*field = value;
}

} // namespace

double secondsBetween(SyntheticTime from, SyntheticTime to)
{
    if (from == distantPast)
        return distantPastSeconds;
    return std::chrono::duration<double>(to - from).count();
}

namespace syntheticInput {

bool isMoving()
{
    return read(&Record::isMoving);
}
QPointF lastPosition()
{
    return read(&Record::lastPosition);
}
SyntheticTime lastNonMouseTime()
{
    return read(&Record::lastNonMouseTime);
}
void setMoving(bool moving)
{
    write(&Record::isMoving, moving);
}
void setLastPosition(QPointF position)
{
    write(&Record::lastPosition, position);
}
void setLastNonMouseTime(SyntheticTime time)
{
    write(&Record::lastNonMouseTime, time);
}

} // namespace syntheticInput

} // namespace tremlor
