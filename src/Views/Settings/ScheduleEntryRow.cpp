#include "Views/Settings/ScheduleEntryRow.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Utilities/KestuCheckable.h"
#include "Platform/Json.h"
#include "Views/Settings/TimeField.h"
#include "Views/Shared/FormPicker.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSet>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace tremlor {

namespace {

const int disclosureSide = 16;

// The kit's ring, on a control of the row that the keyboard reached; `fill` is the control's
// own colour under the ring.
void paintFocusRing(QPainter& p, const QWidget* control, qreal radius, const QColor& fill = QColor())
{
    if (kestu::showsFocusRing(control))
        kestu::paintFocusRing(p, control, QRectF(control->rect()), radius, fill);
}

QFont boldBody()
{
    QFont font = kestu::Font::body();
    font.setWeight(QFont::Bold);
    return font;
}

// The disclosure triangle: "chevron.right", turned down while the group is open.
class Disclosure final : public ExpandButton {
public:
    explicit Disclosure(QWidget* parent)
        : ExpandButton(false, parent)
    {
        setObjectName(QStringLiteral("schedule-entry-disclosure"));
        setFixedSize(disclosureSide, disclosureSide);
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.translate(rect().center() + QPointF(0.5, 0.5));
        if (isExpanded())
            p.rotate(90);
        p.translate(-width() / 2.0, -height() / 2.0);
        kestu::KestuSymbols::paint(p, QRectF(0, 0, width(), height()), QStringLiteral("chevron.right"), 10,
            kestu::Color::textSecondary().resolve(this));
        p.resetTransform();
        paintFocusRing(p, this, kestu::Radius::small);
    }
};

// The chosen profile's name on a faint rounded capsule.
class Chip final : public SectionListText {
public:
    explicit Chip(QWidget* parent)
        : SectionListText(kestu::Font::caption(), kestu::Color::text(), parent)
    {
        setObjectName(QStringLiteral("schedule-entry-chip"));
        setContentsMargins(6, 2, 6, 2);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(kestu::withOpacity(kestu::Color::textSecondary().resolve(this), 0.15));
        p.drawRoundedRect(QRectF(rect()), kestu::Radius::small, kestu::Radius::small);
        p.end();
        SectionListText::paintEvent(event);
    }
};

// A weekday's on/off button: accent-filled while on.
class DayToggle final : public QAbstractButton {
public:
    DayToggle(Weekday day, QWidget* parent)
        : QAbstractButton(parent)
    {
        setObjectName(QStringLiteral("schedule-day-%1").arg(weekday::rawValue(day)));
        setText(weekday::shortName(day));
        setAccessibleName(text());
        setCheckable(true);
        setFont(kestu::Font::callout());
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
        setFixedSize(fontMetrics().horizontalAdvance(QStringLiteral("Wed")) + 16, 22);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(
            QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kestu::Radius::small + 1, kestu::Radius::small + 1);
        QColor foreground = kestu::Color::text().resolve(this);
        const QColor fill = (isChecked() ? kestu::Color::accent() : kestu::Color::surfaceTertiary()).resolve(this);
        p.fillPath(shape, fill);
        if (isChecked()) {
            foreground = kestu::Color::white().resolve(this);
        } else {
            p.setPen(QPen(kestu::Color::border().resolve(this), 0.5));
            p.drawPath(shape);
        }
        if (isDown())
            p.fillPath(shape, kestu::withOpacity(Qt::black, 0.1));
        p.setPen(foreground);
        p.drawText(rect(), Qt::AlignCenter, text());
        paintFocusRing(p, this, kestu::Radius::small + 1, fill);
    }
};

QTime shownTime(const DateComponents& components, const Clock& clock)
{
    if (const auto time = components.toTime())
        return *time;
    const QTime now = clock.now().time();
    return QTime(now.hour(), now.minute());
}

QTimeEdit* makeTimeEdit(const QString& objectName, const QString& accessibleName, QWidget* parent)
{
    auto* edit = new TimeField(parent);
    edit->setObjectName(objectName);
    edit->setAccessibleName(accessibleName);
    return edit;
}

// A form row's label, which names its control to screen readers.
QLabel* formLabel(const QString& text, QWidget* control, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(kestu::Font::body());
    label->setBuddy(control);
    return label;
}

} // namespace

ScheduleEntryRow::ScheduleEntryRow(
    const ScheduleEntry& entry, const QList<Profile>& profiles, const Clock& clock, Edit edit, QWidget* parent)
    : SectionListRow(entry.id, parent)
    , m_entry(entry)
    , m_profiles(profiles)
    , m_clock(clock)
    , m_edit(std::move(edit))
    , m_disclosure(new Disclosure(this))
    , m_switch(new kestu::KestuToggleSwitch(
          kestu::KestuBinding<bool>([this] { return m_entry.isEnabled; },
              [this](bool on) { m_edit(id(), [on](ScheduleEntry& e) { e.isEnabled = on; }); }),
          this, kestu::KestuControlSize::small))
    , m_days(new SectionListText(boldBody(), kestu::Color::text(), this))
    , m_time(new SectionListText(kestu::Font::caption(), kestu::Color::textSecondary(), this))
    , m_chip(new Chip(this))
{
    setObjectName(QStringLiteral("schedule-entry-row"));
    m_switch->setObjectName(QStringLiteral("schedule-entry-enabled"));
    m_switch->setAccessibleName(tr("Enabled"));
    m_days->setObjectName(QStringLiteral("schedule-entry-days"));
    m_time->setObjectName(QStringLiteral("schedule-entry-time"));

    auto* texts = new QVBoxLayout;
    texts->setSpacing(int(kestu::Space::space2));
    texts->addWidget(m_days);
    texts->addWidget(m_time);

    auto* header = new QHBoxLayout;
    header->setSpacing(int(kestu::Space::space8));
    header->addWidget(m_disclosure);
    header->addWidget(m_switch, 0, Qt::AlignVCenter);
    header->addLayout(texts, 1);
    header->addWidget(m_chip, 0, Qt::AlignVCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(
        int(kestu::Space::space8), int(kestu::Space::space8), int(kestu::Space::space12), int(kestu::Space::space8));
    layout->setSpacing(0);
    layout->addLayout(header);

    connect(m_disclosure, &QAbstractButton::clicked, this, [this] { setExpanded(!isExpanded()); });
    refresh(entry, profiles);
}

QAbstractButton* ScheduleEntryRow::enabledSwitch() const
{
    return m_switch;
}

QAbstractButton* ScheduleEntryRow::dayToggle(Weekday day) const
{
    return m_dayToggles[static_cast<std::size_t>(weekday::rawValue(day) - 1)];
}

void ScheduleEntryRow::refresh(const ScheduleEntry& entry, const QList<Profile>& profiles)
{
    // Lists shared with the store compare in constant time: untouched rows cost nothing.
    if (m_shown && entry == m_entry && profiles == m_profiles)
        return;
    m_shown = true;
    m_entry = entry;
    m_profiles = profiles;
    m_switch->refresh();
    m_days->setText(entry.daysDescription());
    m_time->setText(entry.timeRangeDescription(m_clock));
    const Profile* chosen = nullptr;
    if (entry.profileId) {
        for (const Profile& profile : profiles) {
            if (profile.id == *entry.profileId) {
                chosen = &profile;
                break;
            }
        }
    }
    m_chip->setVisible(chosen != nullptr);
    if (chosen)
        m_chip->setText(chosen->name);
    const QString description
        = entry.days.empty() ? m_time->text() : entry.daysDescription() + QStringLiteral(", ") + m_time->text();
    setAccessibleName(description);
    nameDisclosure();
    if (m_editor)
        showEditor();
}

void ScheduleEntryRow::setExpanded(bool expanded)
{
    if (expanded == isExpanded())
        return;
    m_disclosure->showExpanded(expanded);
    // The button's name says what pressing it does now.
    nameDisclosure();
    if (expanded && !m_editor)
        buildEditor();
    if (m_editor)
        m_editor->setVisible(expanded);
}

void ScheduleEntryRow::nameDisclosure()
{
    m_disclosure->setAccessibleName(
        (isExpanded() ? tr("Hide details of %1") : tr("Show details of %1")).arg(accessibleName()));
}

void ScheduleEntryRow::buildEditor()
{
    m_editor = new QWidget(this);
    m_editor->setObjectName(QStringLiteral("schedule-entry-editor"));

    auto* daysTitle = new QLabel(tr("Days"), m_editor);
    QFont subheadline = kestu::Font::callout();
    subheadline.setWeight(QFont::Bold);
    daysTitle->setFont(subheadline);
    auto* dayRow = new QHBoxLayout;
    dayRow->setSpacing(int(kestu::Space::space4));
    for (const Weekday day : weekday::allCases) {
        auto* toggle = new DayToggle(day, m_editor);
        kestu::actOnCheckedChange(
            toggle,
            [this, day](bool on) {
                m_edit(id(), [day, on](ScheduleEntry& e) {
                    if (on)
                        e.days.insert(day);
                    else
                        e.days.erase(day);
                });
            },
            [this, day] { return m_entry.days.contains(day); });
        m_dayToggles[static_cast<std::size_t>(weekday::rawValue(day) - 1)] = toggle;
        dayRow->addWidget(toggle);
    }
    dayRow->addStretch(1);

    m_start = makeTimeEdit(QStringLiteral("schedule-start-time"), tr("Start Time"), m_editor);
    m_end = makeTimeEdit(QStringLiteral("schedule-end-time"), tr("End Time"), m_editor);
    // Only hour and minute are kept: no date, no seconds.
    const auto writeTime = [this](DateComponents ScheduleEntry::*field) {
        return [this, field](const QTime& time) {
            m_edit(
                id(), [field, time](ScheduleEntry& e) { e.*field = DateComponents::time(time.hour(), time.minute()); });
        };
    };
    connect(m_start, &QTimeEdit::timeChanged, this, writeTime(&ScheduleEntry::startTime));
    connect(m_end, &QTimeEdit::timeChanged, this, writeTime(&ScheduleEntry::endTime));

    m_profile = new FormPicker(m_editor);
    m_profile->setObjectName(QStringLiteral("schedule-entry-profile"));
    connect(m_profile, &FormPicker::chosen, this, [this](const QVariant& tag) {
        const std::optional<QUuid> profileId = tag.isNull() ? std::nullopt : std::optional(tag.toUuid());
        m_edit(id(), [profileId](ScheduleEntry& e) { e.profileId = profileId; });
    });

    auto* form = new QGridLayout;
    form->setHorizontalSpacing(int(kestu::Space::space12));
    form->setVerticalSpacing(int(kestu::Space::space8));
    form->addWidget(formLabel(tr("Start Time"), m_start, m_editor), 0, 0);
    form->addWidget(m_start, 0, 1, Qt::AlignLeft);
    form->addWidget(formLabel(tr("End Time"), m_end, m_editor), 1, 0);
    form->addWidget(m_end, 1, 1, Qt::AlignLeft);
    form->addWidget(formLabel(tr("Profile"), m_profile, m_editor), 2, 0);
    form->addWidget(m_profile, 2, 1, Qt::AlignLeft);
    form->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(m_editor);
    // Under the header's texts, past the disclosure triangle.
    layout->setContentsMargins(
        disclosureSide + int(kestu::Space::space8), int(kestu::Space::space4), 0, int(kestu::Space::space4));
    layout->setSpacing(int(kestu::Space::space12));
    auto* days = new QVBoxLayout;
    days->setSpacing(6);
    days->addWidget(daysTitle);
    days->addLayout(dayRow);
    layout->addLayout(days);
    layout->addLayout(form);
    static_cast<QVBoxLayout*>(this->layout())->addWidget(m_editor);
    // Made after every row's header, the editor would come last in the Tab order: it follows
    // its own header instead.
    QWidget* previous = m_switch;
    for (QWidget* control :
        QList<QWidget*>(m_dayToggles.begin(), m_dayToggles.end()) + QList<QWidget*> { m_start, m_end, m_profile }) {
        QWidget::setTabOrder(previous, control);
        previous = control;
    }
    showEditor();
}

void ScheduleEntryRow::showEditor()
{
    for (const Weekday day : weekday::allCases)
        kestu::showChecked(dayToggle(day), m_entry.days.contains(day));
    // Showing a stored time never writes it back; only a pick does.
    for (const auto& [edit, components] :
        { std::pair { m_start, m_entry.startTime }, std::pair { m_end, m_entry.endTime } }) {
        const QTime time = shownTime(components, m_clock);
        if (edit->time() != time) {
            const QSignalBlocker blocker(edit);
            edit->setTime(time);
        }
    }
    QList<std::pair<QUuid, QString>> items;
    items.reserve(m_profiles.size());
    QSet<QUuid> listed;
    for (const Profile& profile : m_profiles) {
        // One item per id, the first profile's, as the chip and the schedule find it.
        if (!listed.contains(profile.id)) {
            listed.insert(profile.id);
            items.append({ profile.id, profile.name });
        }
    }
    if (items != m_pickerItems || m_profile->count() == 0) {
        const QSignalBlocker blocker(m_profile);
        m_profile->clear();
        m_profile->addItem(tr("None"), QVariant());
        for (const auto& [profileId, name] : items)
            m_profile->addItem(name, profileId);
        m_pickerItems = std::move(items);
    }
    const QSignalBlocker blocker(m_profile);
    m_profile->showValue(m_entry.profileId ? QVariant(*m_entry.profileId) : QVariant());
}

} // namespace tremlor
