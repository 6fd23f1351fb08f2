#include "Views/Popover/TremlorPopoverView.h"

#include "Engine/TremlorEngineProtocol.h"
#include "KestuDesign/Components/KestuButton.h"
#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Resources/KestuFontRegistry.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Tokens/KestuTransition.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "Models/TremlorSettings.h"
#include "Platform/Json.h"
#include "Views/Popover/ActivityRing.h"
#include "Views/Popover/CompactAppSummary.h"
#include "Views/Popover/DisclosureToggle.h"
#include "Views/Popover/DurationPickerView.h"
#include "Views/Popover/FooterIconButton.h"
#include "Views/Popover/PopoverExpandedContent.h"
#include "Views/Popover/RotationMenuButton.h"
#include "Views/Popover/SectionReveal.h"
#include "Views/Popover/StatusHeaderView.h"
#include "Views/Shared/FocusedPushButton.h"
#include "Views/Shared/SettingBinding.h"
#include "Views/Shared/ViewSymbols.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace tremlor {

namespace {

constexpr int glyphSize = 16;
constexpr int tiltDegrees = 15;
constexpr int tiltReturnMs = 200;
constexpr int summaryMaxIcons = 5;
constexpr int summaryIconSize = 16;

// Stands in when the host gives no scanner: nothing is installed.
class NoApps final : public AppScanning {
public:
    QList<AppInfo> scanInstalledApps() override { return {}; }
};

// A one-point line in the kit's separator colour.
class PanelDivider final : public QWidget {
public:
    explicit PanelDivider(QWidget* parent)
        : QWidget(parent)
    {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), kestu::Color::separator().resolve(this));
    }
};

bool isTextInput(const QWidget* widget)
{
    return widget
        && (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget)
            || qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)
            || widget->testAttribute(Qt::WA_InputMethodEnabled));
}

// The panel's unmodified keys that a text field types: Return and the digits.
bool isFieldKey(const QKeyEvent* key)
{
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier)
        return false;
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
        || (key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9);
}

bool isReturn(const QKeyEvent* key)
{
    return (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier
        && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
}

} // namespace

TremlorPopoverView::TremlorPopoverView(
    TremlorSettings& settings, TremlorEngineProtocol& engine, const AppScannerFactory& makeScanner, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_engine(engine)
    , m_scanner(makeScanner ? makeScanner() : nullptr)
    , m_selectedDuration(initialDuration(settings))
{
    ViewSymbols::registerAll();
    if (!m_scanner)
        m_scanner = std::make_unique<NoApps>();
    setObjectName(QStringLiteral("popover"));
    setFocusPolicy(Qt::ClickFocus);
    setAccessibleName(tr("Tremlor"));
    setFixedWidth(panelWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_root = new QVBoxLayout(this);
    const int padding = int(kestu::Space::space16);
    m_root->setContentsMargins(padding, padding, padding, padding);
    m_root->setSpacing(0);

    m_root->addWidget(buildHeader());
    m_root->addSpacing(8);
    m_root->addWidget(new PanelDivider(this));
    // The ring keeps room around itself for its bounce; the gap above it stays 12 points.
    m_root->addSpacing(12 - ActivityRing::bounceMargin);

    m_status = new StatusHeaderView(this);
    m_root->addWidget(m_status);
    // Twelve points from what the status block draws (the ring, or the title under it) to the
    // chips' capsules: both keep room around themselves for their motions.
    m_root->addSpacing(12 - ActivityRing::bounceMargin - DurationChip::pulseMargin);

    m_picker = new DurationPickerView(kestu::KestuBinding<Duration>([this] { return m_selectedDuration; },
                                          [this](const Duration& d) { setSelectedDuration(d); }),
        this);
    m_root->addWidget(m_picker);
    m_root->addSpacing(16 - DurationChip::pulseMargin);

    m_startButton = new kestu::KestuButton(
        tr("Start"), QStringLiteral("play.fill"), kestu::KestuButtonVariant::primary, [this] { toggleSession(); },
        this);
    m_startButton->setAccessibleDescription(tr("Starts jiggling and dismisses this panel"));
    m_stopButton = new kestu::KestuButton(
        tr("Stop"), QStringLiteral("stop.fill"), kestu::KestuButtonVariant::destructive, [this] { toggleSession(); },
        this);
    m_stopButton->setAccessibleName(tr("Stop Tremlor"));
    m_stopButton->setAccessibleDescription(tr("Stops the current session"));
    // Tab reaches it and Space presses it; a click leaves the keyboard with the panel, whose
    // Return and digits stay its own.
    for (kestu::KestuButton* button : { m_startButton, m_stopButton })
        button->setFocusPolicy(Qt::TabFocus);
    m_root->addWidget(m_startButton);
    m_root->addWidget(m_stopButton);
    m_root->addSpacing(8);

    m_disclosure = new DisclosureToggle(kestu::KestuBinding<bool>([this] { return m_settings.popoverExpanded(); },
                                            [this](const bool& expanded) { m_settings.setPopoverExpanded(expanded); }),
        this);
    m_root->addWidget(m_disclosure);

    // The further options live as long as the panel (their search text too) and only hide.
    m_expanded = new PopoverExpandedContent(m_settings, m_engine, *m_scanner, this);
    m_expanded->setObjectName(QStringLiteral("expanded-content"));
    connect(m_expanded, &PopoverExpandedContent::selectedDurationChosen, this,
        [this](const Duration& duration) { setSelectedDuration(duration); });
    m_expandedReveal = new SectionReveal(m_expanded, 4, this);
    m_root->addWidget(m_expandedReveal);
    m_summary = new CompactAppSummary({}, summaryMaxIcons, summaryIconSize, this);
    m_summary->setObjectName(QStringLiteral("compact-apps-summary"));
    connect(m_summary, &QAbstractButton::clicked, this, [this] { m_settings.setPopoverExpanded(true); });
    m_summaryReveal = new SectionReveal(m_summary, 0, this);
    m_root->addWidget(m_summaryReveal);

    m_root->addSpacing(8);
    m_root->addWidget(new PanelDivider(this));
    m_root->addSpacing(8);
    m_root->addWidget(buildFooter());

    buildShortcuts();

    watch(
        this, &m_engine, [this] { refreshStatus(); }, &TremlorEngineProtocol::isActiveChanged,
        &TremlorEngineProtocol::isPausedByIdleChanged, &TremlorEngineProtocol::remainingTimeStringChanged,
        &TremlorEngineProtocol::nextAppNameChanged, &TremlorEngineProtocol::countdownChanged);
    watch(
        this, &m_engine, [this] { refreshGlyph(); }, &TremlorEngineProtocol::isActiveChanged,
        &TremlorEngineProtocol::isPausedByIdleChanged);
    watch(
        this, &m_engine, [this] { refreshToggleButton(); }, &TremlorEngineProtocol::isActiveChanged);
    watch(
        this, &m_settings, [this] { m_disclosure->refresh(); }, &TremlorSettings::popoverExpandedChanged);
    watch(
        this, &m_settings, [this] { refreshSection(true); }, &TremlorSettings::popoverExpandedChanged,
        &TremlorSettings::selectedAppBundleIDsChanged);
    watch(
        this, &m_settings, [this] { refreshFooter(); }, &TremlorSettings::profilesChanged);
    refreshStartLabel();
    fitHeight();
    // A preference changed while the ring breathes or pulses stops or resumes it at once.
    if (auto* motion = kestu::ReducedMotion::notifier())
        connect(
            motion, &kestu::ReducedMotionNotifier::changed, m_status->ring(), &ActivityRing::motionPreferenceChanged);
}

TremlorPopoverView::~TremlorPopoverView()
{
    if (m_filtering)
        qApp->removeEventFilter(this);
}

Duration TremlorPopoverView::initialDuration(const TremlorSettings& settings)
{
    // The same resolver as the schedule's start and a new profile's, so a custom default runs
    // as long here as there. An id it does not know resolves to one hour under another id.
    const auto known = [](const QString& id) -> std::optional<Duration> {
        const Duration d = Duration::resolve(id);
        return d.id() == id ? std::optional(d) : std::nullopt;
    };
    if (const auto d = known(settings.lastUsedDurationId()))
        return *d;
    if (const auto d = known(settings.defaultDurationId()))
        return *d;
    return Duration::hours1();
}

QWidget* TremlorPopoverView::buildHeader()
{
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("popover-header"));
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    m_glyph = new QLabel(header);
    m_glyph->setObjectName(QStringLiteral("popover-glyph"));
    m_glyph->setFixedSize(glyphSize, glyphSize);
    m_glyph->setScaledContents(true);
    auto* name = new QLabel(QStringLiteral("Tremlor"), header);
    name->setObjectName(QStringLiteral("popover-title"));
    name->setFont(kestu::Font::subtitle());
    row->addWidget(m_glyph);
    row->addWidget(name);
    row->addStretch(1);
    return header;
}

QWidget* TremlorPopoverView::buildFooter()
{
    auto* footer = new QWidget(this);
    footer->setObjectName(QStringLiteral("popover-footer"));
    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(16);
    m_profileButton = new FooterIconButton(QStringLiteral("person.crop.rectangle.stack"), tr("Switch Profile"),
        QStringLiteral("profile-cycle-button"), footer);
    connect(m_profileButton, &QAbstractButton::clicked, this, &TremlorPopoverView::cycleToNextProfile);
    m_settingsButton = new FooterIconButton(
        QStringLiteral("gearshape"), tr("Open Settings"), QStringLiteral("settings-button"), footer);
    connect(m_settingsButton, &QAbstractButton::clicked, this, &TremlorPopoverView::openSettingsRequested);
    m_quitButton
        = new FooterIconButton(QStringLiteral("power"), tr("Quit Tremlor"), QStringLiteral("quit-button"), footer);
    connect(m_quitButton, &QAbstractButton::clicked, this, &TremlorPopoverView::quitRequested);
    row->addWidget(m_profileButton);
    row->addStretch(1);
    row->addWidget(m_settingsButton);
    row->addWidget(m_quitButton);
    return footer;
}

void TremlorPopoverView::buildShortcuts()
{
    const auto add = [this](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    add(QKeySequence(Qt::Key_Return), [this] { returnAction(); });
    add(QKeySequence(Qt::Key_Enter), [this] { returnAction(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Comma), [this] { Q_EMIT openSettingsRequested(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { Q_EMIT quitRequested(); });
    const auto& presets = Duration::allCases();
    for (int i = 0; i < int(presets.size()); ++i) {
        const Duration duration = presets[size_t(i)];
        add(QKeySequence(Qt::Key_1 + i), [this, duration] { setSelectedDuration(duration, false); });
    }
}

bool TremlorPopoverView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        // Return in the application search starts or stops, as with nothing focused (the search
        // is bound as it is typed, so nothing is lost): the field may not claim the key.
        if (isReturn(key) && m_expanded && widget == m_expanded->searchField()->textField()) {
            event->ignore();
            return true;
        }
        // Any other text field keeps Return and the digits: accepting the override sends the key
        // to the field instead of the panel's shortcuts.
        if (widget->window() == window() && isTextInput(widget) && isFieldKey(key)) {
            event->accept();
            return true;
        }
        // The open profile list chooses on Return, and that is all Return does: the list still
        // sees the key, the shortcuts no longer (an open menu claims its keys itself).
        if (isReturn(key) && isOwnList(widget->window())) {
            event->accept();
            return false;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TremlorPopoverView::isOwnList(const QWidget* window) const
{
    if (!window || window == this->window() || !(window->windowType() == Qt::Popup))
        return false;
    // The list is shown in a window of the combo box's making: known by its view.
    const auto boxes = findChildren<QComboBox*>();
    return std::ranges::any_of(boxes, [window](const QComboBox* box) { return box->view()->window() == window; });
}

bool TremlorPopoverView::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // As tall as the content, whatever shows below the toggle.
    if (event->type() == QEvent::LayoutRequest)
        fitHeight();
    return handled;
}

void TremlorPopoverView::fitHeight()
{
    const int content = m_root->sizeHint().height();
    if (content != height())
        setFixedHeight(content);
    m_root->activate();
}

void TremlorPopoverView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    kestu::Kestu::registerFonts();
    // Until a duration is chosen here, the panel opens with what the rule gives now: a default
    // set in the settings window meanwhile shows at once.
    if (!m_durationChosen)
        showDuration(initialDuration(m_settings), false);
    // The keyboard starts on the chosen chip, so a screen reader tells the duration and Return
    // starts with it; a custom length has no chip, and Start/Stop names it. The search field of
    // the options asks for the keyboard once made, on the next turn: take it back after that.
    landKeyboard();
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            landKeyboard();
    });
    m_installedApps = m_scanner->scanInstalledApps();
    m_expanded->setInstalledApps(m_installedApps);
    refreshSection(false);
    if (!m_filtering) {
        qApp->installEventFilter(this);
        m_filtering = true;
    }
}

void TremlorPopoverView::landKeyboard()
{
    const auto& chips = m_picker->chips();
    const auto chosen = std::ranges::find_if(chips, &QAbstractButton::isChecked);
    (chosen != chips.end() ? static_cast<QWidget*>(*chosen) : startStopButton())->setFocus(Qt::OtherFocusReason);
}

void TremlorPopoverView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (m_filtering) {
        qApp->removeEventFilter(this);
        m_filtering = false;
    }
}

void TremlorPopoverView::setSelectedDuration(const Duration& duration, bool animated)
{
    m_durationChosen = true;
    showDuration(duration, animated);
}

void TremlorPopoverView::showDuration(const Duration& duration, bool animated)
{
    if (duration == m_selectedDuration)
        return;
    m_selectedDuration = duration;
    m_picker->refresh(animated);
    refreshStartLabel();
}

QString TremlorPopoverView::popoverGlyphName() const
{
    if (m_engine.isPausedByIdle())
        return QStringLiteral("tremlor-glyph-paused");
    if (m_engine.isActive())
        return QStringLiteral("tremlor-glyph-active");
    return QStringLiteral("tremlor-glyph");
}

void TremlorPopoverView::setGlyphLookup(GlyphLookup lookup)
{
    m_glyphLookup = std::move(lookup);
    refreshGlyph();
}

void TremlorPopoverView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kestu::Color::surfaceSecondary().resolve(this));
}

kestu::KestuButton* TremlorPopoverView::startStopButton() const
{
    return m_shownActive ? m_stopButton : m_startButton;
}

void TremlorPopoverView::startSession()
{
    m_settings.setLastUsedDurationId(m_selectedDuration.id());
    m_engine.start(m_selectedDuration);
}

void TremlorPopoverView::toggleSession()
{
    if (!m_engine.isActive()) {
        m_settings.setLastUsedDurationId(m_selectedDuration.id());
        if (m_settings.popoverExpanded())
            m_settings.setPopoverExpanded(false);
        m_engine.start(m_selectedDuration);
    } else {
        m_engine.stop(false);
    }
    Q_EMIT dismissPopoverRequested();
}

void TremlorPopoverView::returnAction()
{
    // On this desktop Return presses the focused button, as Space does.
    if (QAbstractButton* button = focusedPushButton(this)) {
        button->click();
        return;
    }
    if (m_engine.isActive()) {
        m_engine.stop(false);
        return;
    }
    // On a chip, that chip's duration: the one the reader has just named.
    if (auto* chip = qobject_cast<DurationChip*>(focusWidget()); chip && chip->hasFocus())
        setSelectedDuration(chip->duration(), false);
    startSession();
    Q_EMIT dismissPopoverRequested();
}

void TremlorPopoverView::cycleToNextProfile()
{
    const QList<Profile> profiles = m_settings.profiles();
    if (profiles.isEmpty())
        return;
    // Exact text: a stale or lower-case id matches nothing, so the cycle starts at the first.
    const QString active = m_settings.activeProfileId();
    qsizetype next = 0;
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        if (json::uuidText(profiles[i].id) == active) {
            next = (i + 1) % profiles.size();
            break;
        }
    }
    const Profile profile = profiles[next];
    m_settings.applyProfile(profile);
    setSelectedDuration(profile.duration);
    if (kestu::prefersReducedMotion())
        return;
    m_profileCycleAngle += tiltDegrees;
    m_profileButton->turnTo(m_profileCycleAngle, false);
    QTimer::singleShot(tiltReturnMs, this, [this] {
        m_profileCycleAngle -= tiltDegrees;
        m_profileButton->turnTo(m_profileCycleAngle, false);
    });
}

void TremlorPopoverView::refreshStatus()
{
    StatusHeaderView::State state;
    state.isActive = m_engine.isActive();
    state.isPausedByIdle = m_engine.isPausedByIdle();
    state.remainingTimeString = m_engine.remainingTimeString();
    state.nextAppName = m_engine.nextAppName();
    state.sessionProgress = m_engine.sessionProgress();
    state.isIndefiniteSession = m_engine.isIndefinite();
    state.remainingSeconds = m_engine.remainingSeconds();
    m_status->setState(state);
}

void TremlorPopoverView::refreshGlyph()
{
    const QString name = popoverGlyphName();
    const QIcon icon = m_glyphLookup ? m_glyphLookup(name) : kestu::KestuSymbols::icon(name);
    // No image of that name: an empty square keeps the title in its place.
    m_glyph->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(QSize(glyphSize, glyphSize), devicePixelRatioF()));
}

void TremlorPopoverView::refreshToggleButton()
{
    const bool active = m_engine.isActive();
    const bool first = m_startButton->objectName().isEmpty() && m_stopButton->objectName().isEmpty();
    if (!first && active == m_shownActive)
        return;
    m_shownActive = active;
    kestu::KestuButton* shown = active ? m_stopButton : m_startButton;
    kestu::KestuButton* hidden = active ? m_startButton : m_stopButton;
    const bool hadFocus = hidden->hasFocus();
    hidden->setObjectName(QString());
    hidden->hide();
    shown->setObjectName(QStringLiteral("start-stop-button"));
    if (first || kestu::prefersReducedMotion() || !isVisible())
        shown->show();
    else
        kestu::KestuTransition::kestuFade().insert(shown, kestu::Animation::fadeSmooth());
    // The keyboard stays on the button where the user left it.
    if (hadFocus)
        shown->setFocus(Qt::OtherFocusReason);
}

void TremlorPopoverView::refreshStartLabel()
{
    m_startButton->setAccessibleName(tr("Start Tremlor for %1").arg(m_selectedDuration.accessibleLabel()));
}

QList<AppInfo> TremlorPopoverView::selectedInstalledApps() const
{
    const QStringList& selected = m_settings.selectedAppBundleIDs();
    QList<AppInfo> apps;
    for (const AppInfo& app : m_installedApps)
        if (selected.contains(app.bundleIdentifier()))
            apps << app;
    return apps;
}

void TremlorPopoverView::refreshSection(bool animated)
{
    const bool expanded = m_settings.popoverExpanded();
    const bool summary = !expanded && !m_settings.selectedAppBundleIDs().isEmpty();
    if (summary)
        m_summary->setSelectedApps(selectedInstalledApps());
    // Qt would hand the keyboard of a part that goes to the next control in the chain, far
    // down the panel: the toggle takes it from the options, the opened options from the summary.
    QWidget* focus = QApplication::focusWidget();
    if (!expanded && focus && m_expanded->isAncestorOf(focus))
        m_disclosure->setFocus(Qt::TabFocusReason);
    m_expandedReveal->reveal(expanded, animated);
    if (focus == m_summary && !summary) {
        QWidget* first = expanded ? firstOptionsControl() : nullptr;
        (first ? first : m_disclosure)->setFocus(Qt::TabFocusReason);
    }
    m_summaryReveal->reveal(summary, animated);
    fitHeight();
}

QWidget* TremlorPopoverView::firstOptionsControl() const
{
    // In Tab's order, from the toggle just above the options.
    for (QWidget* w = m_disclosure->nextInFocusChain(); w && w != m_disclosure; w = w->nextInFocusChain()) {
        if (m_expanded->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(m_expanded)
            && w->isEnabled())
            return w;
    }
    return nullptr;
}

void TremlorPopoverView::refreshFooter()
{
    m_profileButton->setVisible(!m_settings.profiles().isEmpty());
}

} // namespace tremlor
