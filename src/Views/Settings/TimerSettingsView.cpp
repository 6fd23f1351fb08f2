#include "Views/Settings/TimerSettingsView.h"

#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Models/Duration.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Shared/FormButton.h"
#include "Views/Shared/FormPicker.h"
#include "Views/Shared/GroupedForm.h"
#include "Views/Shared/SettingBinding.h"
#include "Views/Shared/TokenLabel.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <limits>

namespace tremlor {

namespace {
constexpr int fieldWidth = 56;

// The minutes field sits on a faint rounded well of the text colour.
class MinutesWell final : public QWidget {
public:
    explicit MinutesWell(QWidget* field, QWidget* parent = nullptr)
        : QWidget(parent)
    {
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(6, 3, 6, 3);
        layout->addWidget(field);
        setFixedWidth(fieldWidth + 12);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), 5, 5);
        p.fillPath(path, kestu::withOpacity(kestu::Color::text().resolve(this), 0.06));
    }
};
} // namespace

std::optional<std::int64_t> TimerSettingsView::customMinutes(const QString& text)
{
    QStringView digits(text);
    if (digits.startsWith(u'+'))
        digits = digits.mid(1);
    if (digits.isEmpty())
        return std::nullopt;
    std::int64_t value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    if (value < 1 || value > maxCustomMinutes)
        return std::nullopt;
    return value;
}

TimerSettingsView::TimerSettingsView(SettingsContext& context, QWidget* parent, bool minutesTakeKeyboard)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("timer-settings"));
    setAccessibleName(tr("Timer"));
    TremlorSettings& s = context.settings;
    auto* form = new GroupedForm(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);

    auto* picker = new FormPicker;
    picker->setObjectName(QStringLiteral("default-duration-picker"));
    for (const Duration& d : Duration::allCases())
        picker->addItem(d.displayLabel(), d.id());
    form->addSection(tr("Default Duration"), QStringLiteral("timer-default-duration"))->addRow(tr("Duration"), picker);
    connect(picker, &FormPicker::chosen, this, [&s](const QVariant& tag) { s.setDefaultDurationId(tag.toString()); });
    // A custom id selects no item.
    watch(
        picker, &s, [picker, &s] { picker->showValue(s.defaultDurationId()); },
        &TremlorSettings::defaultDurationIdChanged);

    auto* row = new QWidget;
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(static_cast<int>(kestu::Space::space8));
    auto* field = new kestu::KestuTextField(QString(),
        { [this] { return m_customMinutesText; },
            [this](const QString& text) {
                m_customMinutesText = text;
                m_setButton->setEnabled(customMinutes(text).has_value());
            } },
        kestu::monospacedSystemFont(13, QFont::Medium), Qt::AlignCenter, false, true, minutesTakeKeyboard, {}, {});
    field->setObjectName(QStringLiteral("custom-minutes-field"));
    field->setAccessibleName(tr("Custom minutes"));
    field->setFixedWidth(fieldWidth);
    m_minutesField = field;
    rowLayout->addWidget(new MinutesWell(field, row));
    rowLayout->addWidget(new TokenLabel(tr("minutes"), kestu::Font::body(), kestu::Color::textSecondary(), row));
    rowLayout->addStretch(1);
    m_setButton = new FormButton(tr("Set as Default"), row);
    m_setButton->setObjectName(QStringLiteral("set-default-button"));
    m_setButton->setEnabled(false);
    connect(m_setButton, &QAbstractButton::clicked, this, &TimerSettingsView::setAsDefault);
    rowLayout->addWidget(m_setButton);
    form->addSection(tr("Custom Duration"), QStringLiteral("timer-custom-duration"))->addRow(row);

    GroupedFormSection* caffeine = form->addSection(tr("Caffeine Mode"), QStringLiteral("timer-caffeine"));
    auto* caffeineToggle = caffeine->addToggle(tr("Caffeine Mode"), QStringLiteral("caffeine-toggle"),
        { [&s] { return s.caffeineEnabled(); }, [&s](const bool& v) { s.setCaffeineEnabled(v); } });
    caffeine->addCaption(
        tr("Prevents your display from sleeping in addition to mouse movement."), QStringLiteral("caffeine-caption"));
    watch(
        caffeineToggle, &s, [caffeineToggle] { caffeineToggle->refresh(); }, &TremlorSettings::caffeineEnabledChanged);

    GroupedFormSection* notifications = form->addSection(tr("Notifications"), QStringLiteral("timer-notifications"));
    auto* countdown = notifications->addToggle(tr("Show countdown in menu bar"), QStringLiteral("countdown-toggle"),
        { [&s] { return s.showCountdownInMenuBar(); }, [&s](const bool& v) { s.setShowCountdownInMenuBar(v); } });
    auto* notify = notifications->addToggle(tr("Notify when timer expires"), QStringLiteral("notify-expiry-toggle"),
        { [&s] { return s.notifyOnExpiry(); }, [&s](const bool& v) { s.setNotifyOnExpiry(v); } });
    watch(
        countdown, &s, [countdown] { countdown->refresh(); }, &TremlorSettings::showCountdownInMenuBarChanged);
    watch(
        notify, &s, [notify] { notify->refresh(); }, &TremlorSettings::notifyOnExpiryChanged);
}

TimerSettingsView::~TimerSettingsView()
{
    // The minutes field's binding reads this view's text: it goes first.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void TimerSettingsView::setAsDefault()
{
    const std::optional<std::int64_t> minutes = customMinutes(m_customMinutesText);
    if (!minutes)
        return;
    m_context.settings.setDefaultDurationId(Duration::custom(*minutes).id());
}

} // namespace tremlor
