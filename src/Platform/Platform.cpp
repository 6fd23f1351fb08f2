#include "Platform/AtomicFile.h"
#include "Platform/Clock.h"
#include "Platform/Random.h"

#include <QRandomGenerator>
#include <QSaveFile>

#include <cmath>
#include <limits>

namespace tremlor {

const Clock& SystemClock::instance()
{
    static const SystemClock clock;
    return clock;
}

double SystemRandom::uniformReal(double a, double b)
{
    if (!(b > a))
        return a;
    const double value = a + QRandomGenerator::global()->generateDouble() * (b - a);
    return std::isfinite(value) ? std::min(value, b) : a;
}

std::int64_t SystemRandom::uniformInt(std::int64_t a, std::int64_t b)
{
    if (b <= a)
        return a;
    const auto span = static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a);
    if (span == std::numeric_limits<std::uint64_t>::max())
        return static_cast<std::int64_t>(QRandomGenerator::global()->generate64());
    const std::uint64_t offset = QRandomGenerator::global()->bounded(quint64(0), quint64(span + 1));
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + offset);
}

RandomSource& SystemRandom::instance()
{
    static SystemRandom random;
    return random;
}

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error)
{
    // commit() does not see a write that failed in its final flush (a full disk) and would put a
    // truncated file in place: flushing first catches it.
    QSaveFile file(path);
    const bool written
        = file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush() && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

} // namespace tremlor
