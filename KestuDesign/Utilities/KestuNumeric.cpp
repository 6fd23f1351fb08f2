#include "KestuDesign/Utilities/KestuNumeric.h"

#include <QList>

#include <charconv>
#include <cmath>
#include <unicode/uchar.h>

namespace kestu {

bool KestuNumeric::isNumberCharacter(char32_t c)
{
    return u_getIntPropertyValue(UChar32(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

QString KestuNumeric::numberCharacters(const QString& text)
{
    QString out;
    out.reserve(text.size());
    const QList<uint> codePoints = text.toUcs4();
    for (uint c : codePoints) {
        if (c == '.' || c == '-' || isNumberCharacter(char32_t(c))) {
            const char32_t cp = char32_t(c);
            out.append(QString::fromUcs4(&cp, 1));
        }
    }
    return out;
}

QString KestuNumeric::trimSpacesAndTabs(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (start < end && blank(text.at(start)))
        ++start;
    while (end > start && blank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

double KestuNumeric::snap(double value, double lower, double upper, double step)
{
    // A step that is not positive would snap everything to "not a number": keep the value.
    double snapped = step > 0 && std::isfinite(step) ? step * std::round(value / step) : value;
    if (snapped <= lower)
        snapped = lower;
    if (upper < snapped)
        snapped = upper;
    return snapped;
}

std::optional<double> KestuNumeric::parseNumber(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QByteArray latin = text.toUtf8();
    double value = 0;
    const char* begin = latin.constData();
    const char* end = begin + latin.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString KestuNumeric::format(double value, int fractionDigits, const QString& suffix)
{
    QString number;
    if (fractionDigits < 1) {
        // 2^63 is exactly representable; anything at or beyond it would not fit.
        constexpr double limit = 9223372036854775808.0;
        if (std::isfinite(value) && value > -limit && value < limit)
            number = QString::number(static_cast<long long>(value));
        else
            number = QString::asprintf("%.0f", std::trunc(value));
    } else {
        number = QString::asprintf("%.*f", std::min(fractionDigits, 100), value);
    }
    if (!suffix.isEmpty())
        number += QLatin1Char(' ') + suffix;
    return number;
}

} // namespace kestu
