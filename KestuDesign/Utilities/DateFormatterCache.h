#pragma once

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QTimeZone>

#include <memory>
#include <mutex>

namespace kestu {

// A date formatter with a fixed pattern (Unicode notation, such as "h:mm a"), time zone and
// locale.
class KestuDateFormatter final {
public:
    KestuDateFormatter(const QString& format, const QTimeZone& timeZone, const QLocale& locale);

    QString string(const QDateTime& date) const;
    const QString& format() const { return m_format; }
    const QTimeZone& timeZone() const { return m_timeZone; }
    const QLocale& locale() const { return m_locale; }
    // The pattern in Qt's notation ("h:mm a" becomes "h:mm AP").
    static QString qtPattern(const QString& unicodePattern);

private:
    QString m_format;
    QString m_qtFormat;
    QTimeZone m_timeZone;
    QLocale m_locale;
};

// A shared, lock-guarded cache of date formatters keyed by format, time zone and locale.
class DateFormatterCache final {
public:
    DateFormatterCache() = default;
    DateFormatterCache(const DateFormatterCache&) = delete;
    DateFormatterCache& operator=(const DateFormatterCache&) = delete;

    static DateFormatterCache& shared();

    // The same three arguments give the same formatter object until clearCache().
    std::shared_ptr<const KestuDateFormatter> formatter(
        const QString& format, const QTimeZone& timeZone, const QLocale& locale);
    void clearCache();

private:
    QHash<QString, std::shared_ptr<const KestuDateFormatter>> m_cache;
    std::mutex m_lock;
};

} // namespace kestu
