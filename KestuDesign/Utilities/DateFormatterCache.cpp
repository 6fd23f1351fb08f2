#include "KestuDesign/Utilities/DateFormatterCache.h"

namespace kestu {

KestuDateFormatter::KestuDateFormatter(const QString& format, const QTimeZone& timeZone, const QLocale& locale)
    : m_format(format)
    , m_qtFormat(qtPattern(format))
    , m_timeZone(timeZone)
    , m_locale(locale)
{
}

QString KestuDateFormatter::qtPattern(const QString& pattern)
{
    // Letters that differ between the two notations; the rest (y, M, d, H, h, m, s) agree.
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            // Quoted literal text passes through with its quotes.
            const qsizetype end = pattern.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end + 1;
            out += pattern.mid(i, stop - i);
            i = stop;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run) == c)
            ++run;
        if (c == QLatin1Char('a'))
            out += QStringLiteral("AP");
        else if (c == QLatin1Char('E'))
            out += run >= 4 ? QStringLiteral("dddd") : QStringLiteral("ddd");
        else if (c == QLatin1Char('S'))
            out += QString(run, QLatin1Char('z'));
        else
            out += pattern.mid(i, run);
        i += run;
    }
    return out;
}

QString KestuDateFormatter::string(const QDateTime& date) const
{
    return m_locale.toString(date.toTimeZone(m_timeZone), m_qtFormat);
}

DateFormatterCache& DateFormatterCache::shared()
{
    static DateFormatterCache cache;
    return cache;
}

std::shared_ptr<const KestuDateFormatter> DateFormatterCache::formatter(
    const QString& format, const QTimeZone& timeZone, const QLocale& locale)
{
    const QString key = format + QLatin1Char('|') + QString::fromUtf8(timeZone.id()) + QLatin1Char('|') + locale.name()
        + QLatin1Char('/') + locale.bcp47Name();
    // Held from the lookup to the insertion: two threads asking at once get one formatter.
    std::lock_guard guard(m_lock);
    auto& slot = m_cache[key];
    if (!slot)
        slot = std::make_shared<const KestuDateFormatter>(format, timeZone, locale);
    return slot;
}

void DateFormatterCache::clearCache()
{
    std::lock_guard guard(m_lock);
    m_cache.clear();
}

} // namespace kestu
