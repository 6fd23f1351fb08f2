#include "Views/Settings/SettingsWindow.h"

#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Resources/KestuFontRegistry.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Settings/SettingsSectionView.h"
#include "Views/Settings/SettingsSidebar.h"
#include "Views/Shared/TremlorColor.h"
#include "Views/Shared/ViewSymbols.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace tremlor {

namespace {
constexpr int windowWidth = 700;
constexpr int windowHeight = 500;
constexpr int sidebarIdeal = 180;
} // namespace

SettingsWindow::SettingsWindow(
    SettingsContext& context, SettingsSection selectedSection, const QString& searchText, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_selected(selectedSection)
    , m_sidebar(nullptr)
    , m_pane(new QWidget(this))
{
    ViewSymbols::registerAll();
    kestu::Kestu::registerFonts();
    setObjectName(QStringLiteral("settings-view"));
    setAccessibleName(tr("Settings"));
    setFixedSize(windowWidth, windowHeight);

    m_sidebar = new SettingsSidebar(selectedSection, searchText, this);
    // The window has a fixed size, so the sidebar keeps its ideal width.
    m_sidebar->setFixedWidth(sidebarIdeal);
    connect(m_sidebar, &SettingsSidebar::sectionChosen, this, &SettingsWindow::choose);
    m_sidebar->list()->installEventFilter(this);

    m_pane->setObjectName(QStringLiteral("settings-detail"));
    auto* paneLayout = new QVBoxLayout(m_pane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->setSpacing(0);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_sidebar);
    layout->addWidget(m_pane, 1);
    applyAccent();
    buildDetail();
}

void SettingsWindow::applyAccent()
{
    // The window wears the product's accent, like the panel: the kit's switches, sliders and
    // marks take it from the palette's highlight.
    const QColor accent = Color::accent();
    if (palette().color(QPalette::Highlight) == accent)
        return;
    m_applyingAccent = true;
    QPalette p = palette();
    p.setColor(QPalette::Highlight, accent);
    p.setColor(QPalette::HighlightedText, kestu::Color::white().resolve(this));
    setPalette(p);
    m_applyingAccent = false;
}

void SettingsWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (!m_applyingAccent && event->type() == QEvent::PaletteChange)
        applyAccent();
}

void SettingsWindow::choose(SettingsSection section, bool byKeys)
{
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
    delete m_detail.data();
    m_detail = makeSettingsSectionView(m_selected, m_context, m_pane);
    m_detail->setObjectName(m_detail->objectName().isEmpty() ? QStringLiteral("settings-detail-") + rawValue(m_selected)
                                                             : m_detail->objectName());
    m_pane->layout()->addWidget(m_detail);
    m_fieldAfterList = nullptr;
    if (isVisible())
        m_detail->show();
    if (m_keepKeyboard)
        keepKeyboardInList();
}

void SettingsWindow::keepKeyboardInList()
{
    // A field that takes the keyboard when it appears asks for it in a queued call. Run those
    // calls now while the field passes the keyboard on to the list, which has it already, so
    // the keyboard never moves and assistive tools hear no focus change.
    QListView* list = m_sidebar->list();
    const QList<kestu::KestuTextField*> fields = m_detail->findChildren<kestu::KestuTextField*>();
    for (kestu::KestuTextField* field : fields) {
        if (!field->description().autoFocus || field->focusProxy())
            continue;
        field->setFocusProxy(list);
        QCoreApplication::sendPostedEvents(field, QEvent::MetaCall);
        field->setFocusProxy(nullptr);
        m_fieldAfterList = field;
    }
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Tab from the list enters the section at the field that waited for the keyboard.
    if (watched == m_sidebar->list() && event->type() == QEvent::KeyPress && m_fieldAfterList) {
        const auto* key = static_cast<QKeyEvent*>(event);
        QWidget* field = m_fieldAfterList;
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier && field->isVisible()
            && field->isEnabled()) {
            m_fieldAfterList = nullptr;
            field->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SettingsWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    kestu::Kestu::registerFonts();
}

} // namespace tremlor
