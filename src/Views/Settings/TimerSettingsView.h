#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>

namespace tremlor {

struct SettingsContext;
class FormButton;

// The default session duration (a preset or typed minutes), caffeine mode and the two timer
// display options. With `minutesTakeKeyboard`, the minutes field takes the keyboard once the view
// is made.
class TimerSettingsView final : public QWidget {
    Q_OBJECT

public:
    explicit TimerSettingsView(SettingsContext& context, QWidget* parent = nullptr, bool minutesTakeKeyboard = true);
    ~TimerSettingsView() override;

    // The minutes a typed text stands for: ASCII digits with an optional leading "+", at least 1,
    // and no more than a stored custom duration can hold (so minutes × 60 never overflows).
    static std::optional<std::int64_t> customMinutes(const QString& text);
    // The largest custom duration the store reads back as typed.
    static constexpr std::int64_t maxCustomMinutes = 10'000'000;

    QString customMinutesText() const { return m_customMinutesText; }
    // The custom minutes, which take the keyboard when the section appears.
    QWidget* minutesField() const { return m_minutesField; }

private:
    void setAsDefault();

    SettingsContext& m_context;
    QString m_customMinutesText;
    FormButton* m_setButton = nullptr;
    QWidget* m_minutesField = nullptr;
};

} // namespace tremlor
