#pragma once

#include <QString>

#include <optional>

namespace kestu {

// Number handling shared by the text field and the slider. Positions are UTF-16 units, as
// QLineEdit counts them.
class KestuNumeric final {
public:
    KestuNumeric() = delete;

    // A character whose Unicode numeric type is decimal, digit or numeric (the digits of every
    // script, fractions, numerals such as 五).
    static bool isNumberCharacter(char32_t c);
    // `text` reduced to number characters, "." and "-", in their order.
    static QString numberCharacters(const QString& text);
    // `text` with spaces and tabs (not line breaks) trimmed from both ends.
    static QString trimSpacesAndTabs(const QString& text);

    // step × (value ÷ step rounded with halves away from zero), then at least lower, then at
    // most upper. Counts steps from zero, not from the lower bound.
    static double snap(double value, double lower, double upper, double step);
    // A number written exactly in the C locale's notation: no spaces, nothing left over,
    // finite. Empty text is no number.
    static std::optional<double> parseNumber(const QString& text);
    // The value with `fractionDigits` digits and a point whatever the locale; with fewer than
    // one digit, the value with its fraction dropped (toward zero). Values that are not finite
    // or too large for a 64-bit integer are written without converting them to one. A
    // non-empty suffix follows after one space.
    static QString format(double value, int fractionDigits, const QString& suffix);
};

} // namespace kestu
