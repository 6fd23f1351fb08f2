#include "Views/Popover/PopoverExpandedContent.h"

#include "Engine/TremlorEngineProtocol.h"
#include "Helpers/AppScanning.h"
#include "KestuDesign/Components/KestuCard.h"
#include "KestuDesign/Components/KestuEmptyState.h"
#include "KestuDesign/Components/KestuSearchField.h"
#include "KestuDesign/Components/KestuSlider.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Utilities/KestuCheckable.h"
#include "Models/SettingDefaults.h"
#include "Models/TremlorSettings.h"
#include "Platform/Json.h"
#include "Views/Popover/CompactAppRow.h"
#include "Views/Popover/ProfilePickerView.h"
#include "Views/Popover/RotationMenuButton.h"
#include "Views/Popover/SymbolLabel.h"
#include "Views/Shared/FocusScrollArea.h"
#include "Views/Shared/LocalizedSearch.h"
#include "Views/Shared/SettingBinding.h"
#include "Views/Shared/TremlorColor.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace tremlor {

namespace {

// A hairline across the full width, in the kit's separator colour.
class Divider final : public QWidget {
public:
    explicit Divider(QWidget* parent = nullptr)
        : QWidget(parent)
    {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), kestu::Color::separator().resolve(this)); }
};

// The list's scroll bar: a thin rounded thumb in the secondary text colour, no track, so the
// list reads as part of the card rather than a platform control.
class ListScrollArea final : public FocusScrollArea {
public:
    explicit ListScrollArea(QWidget* parent)
        : FocusScrollArea(parent)
    {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        viewport()->setAutoFillBackground(false);
        setAutoFillBackground(false);
        applyScrollBarStyle();
    }

protected:
    void changeEvent(QEvent* event) override
    {
        FocusScrollArea::changeEvent(event);
        if (event->type() == QEvent::PaletteChange)
            applyScrollBarStyle();
    }

private:
    void applyScrollBarStyle()
    {
        const QColor thumb = kestu::withOpacity(kestu::Color::textSecondary().resolve(this), 0.45);
        verticalScrollBar()->setStyleSheet(
            QStringLiteral("QScrollBar:vertical { background: transparent; width: 8px; margin: 2px 2px 2px 0; }"
                           "QScrollBar::handle:vertical { background: %1; border-radius: 3px; min-height: 20px; }"
                           "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
                           "QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }")
                .arg(thumb.name(QColor::HexArgb)));
    }
};

} // namespace

PopoverExpandedContent::PopoverExpandedContent(
    TremlorSettings& settings, TremlorEngineProtocol& engine, AppScanning& scanner, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_engine(engine)
    , m_scanner(scanner)
    , m_isRunning(&AppInfo::isRunning)
    , m_runningRefresh(new QTimer(this))
{
    setObjectName(QStringLiteral("expanded-content"));
    m_runningRefresh->setInterval(runningRefreshMs);
    connect(m_runningRefresh, &QTimer::timeout, this, [this] { refreshRunning(RunningAsk::newRoundInSight); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(int(kestu::Space::space12));
    layout->addWidget(makeIntervalRow());
    m_picker = new ProfilePickerView(m_settings, this);
    layout->addWidget(m_picker);
    layout->addWidget(new Divider(this));
    layout->addWidget(makeAppSection());

    connect(&m_settings, &TremlorSettings::activeProfileIdChanged, this, [this] { scheduleProfileReaction(); });
    watch(
        this, &m_settings, [this] { refreshSelection(); }, &TremlorSettings::selectedAppBundleIDsChanged);
    watch(
        this, &m_engine, [this] { refreshRunning(RunningAsk::sessionTarget); }, &TremlorEngineProtocol::isActiveChanged,
        &TremlorEngineProtocol::currentAppNameChanged);
    refilter();
}

QWidget* PopoverExpandedContent::makeIntervalRow()
{
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("interval-section"));
    auto* label
        = new SymbolLabel(QString(), tr("Interval"), kestu::Font::caption(), kestu::Color::textSecondary(), row);
    label->setFixedWidth(intervalLabelWidth);
    m_slider = new kestu::KestuSlider(kestu::KestuBinding<double>([this] { return m_settings.maxInterval(); },
                                          [this](const double& value) { m_settings.setMaxInterval(value); }),
        defaults::shortestInterval, defaults::longestInterval, 1, QStringLiteral("s"), 0, Color::accent(), row);
    m_slider->setObjectName(QStringLiteral("interval-slider"));
    m_slider->setName(tr("Interval"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(int(kestu::Space::space8));
    layout->addWidget(label);
    layout->addWidget(m_slider, 1);
    watch(
        m_slider, &m_settings, [this] { m_slider->refresh(); }, &TremlorSettings::maxIntervalChanged);
    return row;
}

QWidget* PopoverExpandedContent::makeAppSection()
{
    auto* section = new QWidget(this);
    section->setObjectName(QStringLiteral("app-section"));

    auto* heading = new QHBoxLayout;
    heading->setContentsMargins(0, 0, 0, 0);
    heading->setSpacing(int(kestu::Space::space8));
    heading->addWidget(
        new SymbolLabel(QString(), tr("Apps"), kestu::Font::caption(), kestu::Color::textSecondary(), section));
    heading->addStretch(1);
    m_count = new SymbolLabel(QString(), QString(), kestu::Font::tag(), kestu::Color::textSecondary(), section);
    m_count->setObjectName(QStringLiteral("selected-apps-count"));
    m_count->setContentsMargins(0, 0, int(kestu::Space::space4), 0);
    heading->addWidget(m_count);
    m_rotation = new RotationMenuButton(m_settings, section);
    heading->addWidget(m_rotation);

    // The list: search, divider, then the rows or the empty state, on a bordered card.
    auto* list = new QWidget;
    list->setObjectName(QStringLiteral("compact-app-list"));
    m_search = new kestu::KestuSearchField(kestu::KestuBinding<QString>([this] { return m_searchText; },
                                               [this](const QString& text) {
                                                   m_searchText = text;
                                                   refilter();
                                               }),
        tr("Search…"), list);
    m_search->setObjectName(QStringLiteral("app-search-field"));
    m_search->textField()->setAccessibleName(tr("Search apps"));
    m_empty = new kestu::KestuEmptyState(
        QStringLiteral("square.grid.2x2"), tr("No apps found"), tr("Try a different search term."), list);
    m_empty->setObjectName(QStringLiteral("apps-empty-state"));
    m_empty->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed); // its own height, never stretched
    m_scroll = new ListScrollArea(list);
    m_scroll->setObjectName(QStringLiteral("app-list-scroll"));
    m_rowsHost = new QWidget;
    m_rowsLayout = new QVBoxLayout(m_rowsHost);
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    m_rowsLayout->setSpacing(0);
    m_rowsLayout->addStretch(1);
    m_scroll->setWidget(m_rowsHost);
    connect(m_scroll->verticalScrollBar(), &QScrollBar::valueChanged, this,
        [this] { refreshRunning(RunningAsk::inSightNotYetAsked); });
    m_rowsHost->setAutoFillBackground(false); // setWidget() turns it on: the card shows through
    auto* listLayout = new QVBoxLayout(list);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    listLayout->addWidget(m_search);
    listLayout->addWidget(new Divider(list));
    listLayout->addWidget(m_empty);
    listLayout->addWidget(m_scroll);

    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(int(kestu::Space::space4));
    layout->addLayout(heading);
    layout->addWidget(new kestu::KestuCard(true, list, section));
    return section;
}

void PopoverExpandedContent::reloadInstalledApps()
{
    setInstalledApps(m_scanner.scanInstalledApps());
}

void PopoverExpandedContent::setInstalledApps(const QList<AppInfo>& apps)
{
    if (apps != m_installedApps) {
        m_installedApps = apps;
        // Rows of applications still installed are kept, with the icons they have read.
        QHash<QString, CompactAppRow*> old = std::exchange(m_rows, {});
        m_rowOrder.clear();
        for (const AppInfo& app : m_installedApps) {
            if (m_rows.contains(app.bundleIdentifier()))
                continue;
            CompactAppRow* row = old.take(app.bundleIdentifier());
            if (row && !(row->app() == app)) {
                delete row;
                row = nullptr;
            }
            if (!row) {
                row = new CompactAppRow(app, m_rowsHost);
                const QString id = app.bundleIdentifier();
                kestu::actOnCheckedChange(
                    row, [this, id](bool) { toggle(id); },
                    [this, id] { return m_settings.selectedAppBundleIDs().contains(id); });
            }
            m_rows.insert(app.bundleIdentifier(), row);
            m_rowOrder << row;
        }
        qDeleteAll(old);
        // Re-lay the rows in list order, before the trailing stretch. Tab takes them in that
        // order right after the search field (rows made later would come after the footer),
        // and screen readers too: they list children in the order of the stack.
        QWidget* before = m_search->textField();
        for (int i = 0; i < m_rowOrder.size(); ++i) {
            m_rowsLayout->removeWidget(m_rowOrder[i]);
            m_rowsLayout->insertWidget(i, m_rowOrder[i]);
            m_rowOrder[i]->raise();
            setTabOrder(before, m_rowOrder[i]);
            before = m_rowOrder[i];
        }
        m_askedThisRound.clear(); // rows may have gone, and new ones take their addresses
        refreshSelection();
        refilter();
        refreshRunning(RunningAsk::everyRow);
    }
}

void PopoverExpandedContent::setAppSearchText(const QString& text)
{
    if (text == m_searchText)
        return;
    m_searchText = text;
    m_search->refresh();
    refilter();
}

QList<AppInfo> PopoverExpandedContent::filteredApps() const
{
    if (m_searchText.isEmpty())
        return m_installedApps;
    QList<AppInfo> filtered;
    for (const AppInfo& app : m_installedApps) {
        if (localizedCaseInsensitiveContains(app.name(), m_searchText))
            filtered << app;
    }
    return filtered;
}

void PopoverExpandedContent::refilter()
{
    CompactAppRow* last = nullptr;
    int height = 0;
    for (CompactAppRow* row : std::as_const(m_rowOrder)) {
        const bool shown = m_searchText.isEmpty() || localizedCaseInsensitiveContains(row->app().name(), m_searchText);
        row->setVisible(shown);
        if (!shown)
            continue;
        row->setShowsDivider(true);
        height += row->sizeHint().height();
        last = row;
    }
    if (last) {
        last->setShowsDivider(false);
        height -= 1;
    }
    m_empty->setVisible(!last);
    m_scroll->setVisible(last);
    m_scroll->setFixedHeight(std::min(height, listMaximumHeight));
    // Which rows are in sight is known once the list has been laid out again.
    QMetaObject::invokeMethod(
        this, [this] { refreshRunning(RunningAsk::inSightNotYetAsked); }, Qt::QueuedConnection);
}

void PopoverExpandedContent::toggle(const QString& bundleIdentifier)
{
    // The list as it is now, not as the row was drawn.
    QStringList ids = m_settings.selectedAppBundleIDs();
    if (!ids.removeOne(bundleIdentifier))
        ids << bundleIdentifier;
    m_settings.setSelectedAppBundleIDs(ids);
}

QString PopoverExpandedContent::selectedCountText() const
{
    const qsizetype count = m_settings.selectedAppBundleIDs().size();
    return count == 0 ? QString() : tr("%1 selected").arg(count);
}

void PopoverExpandedContent::refreshSelection()
{
    const QStringList& ids = m_settings.selectedAppBundleIDs();
    for (CompactAppRow* row : std::as_const(m_rowOrder))
        row->setSelected(ids.contains(row->app().bundleIdentifier()));
    m_count->setContent(QString(), selectedCountText());
    m_count->setVisible(!ids.isEmpty());
}

void PopoverExpandedContent::setRunningQuery(RunningQuery query)
{
    m_isRunning = std::move(query);
    refreshRunning(RunningAsk::everyRow);
}

void PopoverExpandedContent::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refreshRunning(RunningAsk::everyRow);
    m_runningRefresh->start();
}

void PopoverExpandedContent::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_runningRefresh->stop();
}

void PopoverExpandedContent::refreshRunning(RunningAsk ask)
{
    // Rows out of sight are brought up to date when the section shows again.
    if (!isVisible())
        return;
    if (ask == RunningAsk::everyRow || ask == RunningAsk::newRoundInSight)
        m_askedThisRound.clear();
    const bool active = m_engine.isActive();
    const QString current = m_engine.currentAppName();
    for (CompactAppRow* row : std::as_const(m_rowOrder)) {
        const bool target = active && current == row->app().name();
        // Asking reads the entry and the window list: with some hundred applications installed,
        // asking them all on every refresh would hold up the panel.
        bool asks = false;
        switch (ask) {
        case RunningAsk::everyRow:
            asks = true;
            break;
        case RunningAsk::newRoundInSight:
        case RunningAsk::inSightNotYetAsked:
            asks = !m_askedThisRound.contains(row) && row->isVisible() && !row->visibleRegion().isEmpty();
            break;
        case RunningAsk::sessionTarget:
            asks = target;
            break;
        }
        bool running = row->isAppRunning();
        if (asks) {
            running = m_isRunning(row->app());
            m_askedThisRound.insert(row);
        }
        row->setRunning(running, target);
    }
}

void PopoverExpandedContent::scheduleProfileReaction()
{
    if (m_profileReactionQueued)
        return;
    m_profileReactionQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_profileReactionQueued = false;
            reactToActiveProfile();
        },
        Qt::QueuedConnection);
}

void PopoverExpandedContent::reactToActiveProfile()
{
    if (!isVisible())
        return;
    const QString active = m_settings.activeProfileId();
    for (const Profile& profile : m_settings.profiles()) {
        if (json::uuidText(profile.id) == active) {
            const Profile chosen = profile; // applying may reassign the list
            m_settings.applyProfile(chosen);
            Q_EMIT selectedDurationChosen(chosen.duration);
            return;
        }
    }
}

} // namespace tremlor
