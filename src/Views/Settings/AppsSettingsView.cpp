#include "Views/Settings/AppsSettingsView.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Components/KestuToggleStyle.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Views/Settings/AppChecklistView.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Shared/FormPicker.h"
#include "Views/Shared/GroupedForm.h"
#include "Views/Shared/Hairline.h"
#include "Views/Shared/SettingBinding.h"
#include "Views/Shared/TokenLabel.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>

namespace tremlor {

namespace {
constexpr std::int64_t intervalLower = 1;
constexpr std::int64_t intervalUpper = 10;
constexpr int formMaximumHeight = 200;

// One half of the stepper: a symbol on a small rounded segment.
class StepButton final : public QAbstractButton {
public:
    StepButton(QString symbol, QWidget* parent)
        : QAbstractButton(parent)
        , m_symbol(std::move(symbol))
    {
        setFixedSize(28, 24);
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(
            QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kestu::Radius::small + 1, kestu::Radius::small + 1);
        QColor fill = kestu::Color::surfaceTertiary().resolve(this);
        if (isEnabled() && (isDown() || underMouse()))
            fill = kestu::appearanceOf(this) == kestu::KestuAppearance::dark ? fill.lighter(125) : fill.darker(106);
        p.fillPath(path, fill);
        p.setPen(QPen(kestu::Color::border().resolve(this), 1));
        p.drawPath(path);
        const QColor color = isEnabled() ? kestu::Color::text().resolve(this)
                                         : kestu::withOpacity(kestu::Color::textSecondary().resolve(this), 0.5);
        kestu::KestuSymbols::paint(p, QRectF(rect()), m_symbol, 11, color);
        if (kestu::showsFocusRing(this))
            kestu::paintFocusRing(p, this, QRectF(rect()), kestu::Radius::small + 1);
    }

private:
    QString m_symbol;
};
} // namespace

QString AppsSettingsView::switchLabel(std::int64_t interval)
{
    return tr("Switch every %1 cycle%2").arg(interval).arg(interval == 1 ? QString() : QStringLiteral("s"));
}

AppsSettingsView::AppsSettingsView(SettingsContext& context, QWidget* parent, bool searchTakesKeyboard)
    : QWidget(parent)
    , m_scanner(context.makeAppScanner())
{
    setObjectName(QStringLiteral("apps-settings"));
    setAccessibleName(tr("Apps"));
    TremlorSettings& s = context.settings;
    if (m_scanner)
        m_apps = m_scanner->scanInstalledApps();

    // The checklist runs edge to edge over the pane, a divider under it, the options below.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_checklist = new AppChecklistView(m_apps,
        { [&s] { return s.selectedAppBundleIDs(); }, [&s](const QStringList& ids) { s.setSelectedAppBundleIDs(ids); } },
        true, { [this] { return m_searchText; }, [this](const QString& text) { m_searchText = text; } }, this,
        searchTakesKeyboard);
    layout->addWidget(m_checklist, 1);
    auto* divider = new Hairline(this);
    divider->setObjectName(QStringLiteral("apps-divider"));
    layout->addWidget(divider);
    watch(
        m_checklist, &s, [checklist = m_checklist] { checklist->refresh(); },
        &TremlorSettings::selectedAppBundleIDsChanged);

    auto* form = new GroupedForm(this);
    form->setObjectName(QStringLiteral("apps-options"));
    form->setMaximumHeight(formMaximumHeight);
    const int inset = static_cast<int>(kestu::Space::space20);
    const int gap = static_cast<int>(kestu::Space::space12);
    form->setOuterMargins(inset, gap, inset, gap);
    form->setSectionSpacing(static_cast<int>(kestu::Space::space12));
    GroupedFormSection* launch = form->addSection(QString(), QStringLiteral("apps-launch"));
    auto* launchToggle
        = launch->addToggle(tr("Launch app if not running"), QStringLiteral("launch-if-not-running-toggle"),
            { [&s] { return s.launchIfNotRunning(); }, [&s](const bool& v) { s.setLaunchIfNotRunning(v); } });
    watch(
        launchToggle, &s, [launchToggle] { launchToggle->refresh(); }, &TremlorSettings::launchIfNotRunningChanged);

    GroupedFormSection* rotation = form->addSection(tr("App Rotation"), QStringLiteral("apps-rotation"));
    auto* mode = new FormPicker;
    mode->setObjectName(QStringLiteral("rotation-mode-picker"));
    mode->addItem(
        QStringLiteral("Sequential"), rawValue(RotationMode::sequential), QStringLiteral("arrow.right.arrow.left"));
    mode->addItem(QStringLiteral("Random"), rawValue(RotationMode::random), QStringLiteral("shuffle"));
    rotation->addRow(tr("Rotation Mode"), mode);
    connect(mode, &FormPicker::chosen, this, [&s](const QVariant& tag) {
        if (const auto m = fromRawValue<RotationMode>(tag.toString()))
            s.setRotationMode(*m);
    });
    watch(
        mode, &s, [mode, &s] { mode->showValue(rawValue(s.rotationMode())); }, &TremlorSettings::rotationModeChanged);

    // The stepper shows the stored interval as it is (even one outside 1…10); only a press
    // writes, and a press lands inside the range.
    auto* stepper = new QWidget;
    stepper->setObjectName(QStringLiteral("switch-interval-stepper"));
    auto* stepLayout = new QHBoxLayout(stepper);
    stepLayout->setContentsMargins(0, 0, 0, 0);
    stepLayout->setSpacing(static_cast<int>(kestu::Space::space4));
    auto* label = new TokenLabel(QString(), kestu::Font::body(), kestu::Color::text(), stepper);
    label->setObjectName(QStringLiteral("switch-interval-label"));
    auto* minus = new StepButton(QStringLiteral("minus"), stepper);
    minus->setObjectName(QStringLiteral("switch-interval-decrement"));
    auto* plus = new StepButton(QStringLiteral("plus"), stepper);
    plus->setObjectName(QStringLiteral("switch-interval-increment"));
    stepLayout->addWidget(label);
    stepLayout->addStretch(1);
    stepLayout->addWidget(minus);
    stepLayout->addWidget(plus);
    rotation->addRow(stepper);
    const auto step = [&s](int delta) {
        const std::int64_t next = std::clamp<std::int64_t>(s.appSwitchInterval() + delta, intervalLower, intervalUpper);
        if (next != s.appSwitchInterval())
            s.setAppSwitchInterval(next);
    };
    connect(minus, &QAbstractButton::clicked, this, [step] { step(-1); });
    connect(plus, &QAbstractButton::clicked, this, [step] { step(+1); });
    watch(
        stepper, &s,
        [label, minus, plus, stepper, &s] {
            const std::int64_t value = s.appSwitchInterval();
            label->setText(switchLabel(value));
            stepper->setAccessibleName(label->text());
            minus->setAccessibleName(tr("%1, decrease").arg(label->text()));
            plus->setAccessibleName(tr("%1, increase").arg(label->text()));
            // A press that reaches an end disables its own button: the keyboard goes to the other
            // one, not on to the next control of the window.
            for (const auto& [button, enabled, other] : { std::tuple { minus, value > intervalLower, plus },
                     std::tuple { plus, value < intervalUpper, minus } }) {
                if (!enabled && button->hasFocus())
                    other->setFocus(Qt::OtherFocusReason);
                button->setEnabled(enabled);
            }
        },
        &TremlorSettings::appSwitchIntervalChanged);
    layout->addWidget(form);
}

AppsSettingsView::~AppsSettingsView()
{
    // The controls' bindings read this view's members: they go first.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

} // namespace tremlor
