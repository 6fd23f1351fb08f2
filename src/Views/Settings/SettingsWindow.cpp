#include "Views/Settings/SettingsWindow.h"

#include "KestuDesign/Resources/KestuFontRegistry.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "Views/Settings/BuiltSection.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Settings/SettingsSidebar.h"
#include "Views/Shared/FocusedPushButton.h"
#include "Views/Shared/ViewSymbols.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QVBoxLayout>

namespace tremlor {

namespace {
constexpr int windowWidth = 700;
constexpr int windowHeight = 500;
constexpr int sidebarMinimum = 160;
constexpr int sidebarIdeal = 180;
constexpr int sidebarMaximum = 220;

// The sidebar's edge: a hairline, which Qt lets the user grab a few pixels either side of it.
class SidebarEdge final : public QSplitterHandle {
public:
    using QSplitterHandle::QSplitterHandle;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(contentsRect(), kestu::Color::border().resolve(this));
    }
};

class SettingsSplitter final : public QSplitter {
public:
    using QSplitter::QSplitter;

protected:
    QSplitterHandle* createHandle() override { return new SidebarEdge(orientation(), this); }
};
} // namespace

SettingsWindow::SettingsWindow(
    SettingsContext& context, SettingsSection selectedSection, const QString& searchText, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_selected(selectedSection)
    , m_splitter(new SettingsSplitter(Qt::Horizontal, this))
    , m_sidebar(new SettingsSidebar(selectedSection, searchText, m_splitter))
    , m_pane(new QWidget(m_splitter))
{
    ViewSymbols::registerAll();
    kestu::Kestu::registerFonts();
    setObjectName(QStringLiteral("settings-view"));
    setAccessibleName(tr("Settings"));
    setFixedSize(windowWidth, windowHeight);

    m_sidebar->setMinimumWidth(sidebarMinimum);
    m_sidebar->setMaximumWidth(sidebarMaximum);
    connect(m_sidebar, &SettingsSidebar::sectionChosen, this, &SettingsWindow::choose);

    m_pane->setObjectName(QStringLiteral("settings-detail"));
    auto* paneLayout = new QVBoxLayout(m_pane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->setSpacing(0);

    m_splitter->setObjectName(QStringLiteral("settings-split"));
    m_splitter->setHandleWidth(1);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_sidebar);
    m_splitter->addWidget(m_pane);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({ sidebarIdeal, windowWidth - sidebarIdeal - m_splitter->handleWidth() });
    m_splitter->handle(1)->setObjectName(QStringLiteral("settings-sidebar-edge"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_splitter);
    buildDetail();
    m_followFocus = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (!now && old && !m_replacingDetail && isActiveWindow() && m_detail && m_detail->isAncestorOf(old))
            keepKeyboardNear(old);
    });
}

SettingsWindow::~SettingsWindow()
{
    // Deleting the sections moves the focus; by then this window is half gone.
    disconnect(m_followFocus);
}

void SettingsWindow::keepKeyboardNear(QWidget* gaveUp)
{
    // The closest control before or after it in the Tab order, the one in its own row or group
    // first (the deepest shared container), the one before it on a tie. Never a text field: the
    // next keys would be typed into another record.
    const auto takes = [this](QWidget* w) {
        return (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible() && m_detail->isAncestorOf(w)
            && !w->inherits("QLineEdit");
    };
    // Destroyed with its row (its record went elsewhere), it has left the Tab order, and the rest
    // of its row may be half gone: the closest container that takes the keyboard (its list) gets
    // it once the change is over.
    if (!gaveUp->previousInFocusChain()) {
        QWidget* w = gaveUp->parentWidget();
        while (w && w != m_detail && !(w->focusPolicy() & Qt::TabFocus))
            w = w->parentWidget();
        if (w && w != m_detail) {
            QMetaObject::invokeMethod(
                w,
                [this, w] {
                    if (!QApplication::focusWidget() && isActiveWindow())
                        w->setFocus(Qt::OtherFocusReason);
                },
                Qt::QueuedConnection);
        }
        return;
    }
    const auto shared = [gaveUp](QWidget* w) {
        QWidget* common = w->parentWidget();
        while (common && !common->isAncestorOf(gaveUp))
            common = common->parentWidget();
        int depth = 0;
        for (; common; common = common->parentWidget())
            ++depth;
        return depth;
    };
    QWidget* before = gaveUp->previousInFocusChain();
    while (before != gaveUp && !takes(before))
        before = before->previousInFocusChain();
    QWidget* after = gaveUp->nextInFocusChain();
    while (after != gaveUp && !takes(after))
        after = after->nextInFocusChain();
    QWidget* nearest = before == gaveUp ? nullptr : before;
    if (after != gaveUp && (!nearest || shared(after) > shared(nearest)))
        nearest = after;
    if (nearest)
        nearest->setFocus(Qt::OtherFocusReason);
}

void SettingsWindow::choose(SettingsSection section, bool byKeys)
{
    // The shown section opened again (Return on the search's first result): its field takes the
    // keyboard as when it appeared.
    if (section == m_selected && m_detail && !byKeys) {
        if (m_keyboardField && m_keyboardField->isEnabled())
            m_keyboardField->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    const QScopedValueRollback keep(m_keepKeyboard, byKeys);
    setSelectedSection(section);
}

void SettingsWindow::setSelectedSection(SettingsSection section)
{
    // The shown section keeps its view: a second click must not drop what the user typed in it.
    if (section == m_selected && m_detail)
        return;
    m_selected = section;
    m_sidebar->setSelectedSection(section);
    buildDetail();
    Q_EMIT sectionChanged(section);
}

QString SettingsWindow::searchText() const
{
    return m_sidebar->searchText();
}

void SettingsWindow::setSearchText(const QString& text)
{
    m_sidebar->setSearchText(text);
}

void SettingsWindow::buildDetail()
{
    // The old view goes at once, so nothing of it (a scanner, a typed number) outlives the switch.
    {
        const QScopedValueRollback replacing(m_replacingDetail, true);
        delete m_detail.data();
    }
    const BuiltSection built = buildSection(m_selected, m_context, !m_keepKeyboard, m_pane);
    m_detail = built.view;
    m_detail->setObjectName(m_detail->objectName().isEmpty() ? QStringLiteral("settings-detail-") + rawValue(m_selected)
                                                             : m_detail->objectName());
    m_pane->layout()->addWidget(m_detail);
    m_keyboardField = built.keyboardField;
    if (isVisible())
        m_detail->show();
}

void SettingsWindow::keyPressEvent(QKeyEvent* event)
{
    // A push button leaves Return to its window; fields and lists keep it, switches are Space's.
    QAbstractButton* button = focusedPushButton(this);
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && button && !event->isAutoRepeat() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SettingsWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    kestu::Kestu::registerFonts();
}

} // namespace tremlor
