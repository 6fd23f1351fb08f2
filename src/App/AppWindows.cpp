#include "App/AppWindows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace tremlor {

namespace {
// A top-level window around one view; reports its closing once.
class HostWindow final : public QWidget {
public:
    HostWindow(std::function<void(HostWindow*)> onClose, Qt::WindowFlags flags)
        : QWidget(nullptr, flags)
        , m_onClose(std::move(onClose))
    {
        setAttribute(Qt::WA_DeleteOnClose);
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        QWidget::closeEvent(event);
        if (event->isAccepted() && m_onClose) {
            auto onClose = std::move(m_onClose);
            m_onClose = nullptr;
            onClose(this);
        }
    }

private:
    std::function<void(HostWindow*)> m_onClose;
};

constexpr const char* closedProperty = "tremlorWindowClosed";

void centre(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(), window->size());
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
} // namespace

AppWindows::AppWindows(ContentFactory settingsContent, ContentFactory onboardingContent, QObject* parent)
    : QObject(parent)
    , m_settingsContent(std::move(settingsContent))
    , m_onboardingContent(std::move(onboardingContent))
{
}

AppWindows::~AppWindows()
{
    delete m_settingsWindow.data();
}

bool AppWindows::isFloating(const QWidget* window)
{
    const Qt::WindowType type = window->windowType();
    return type == Qt::Popup || type == Qt::Tool || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

bool AppWindows::isShown(const QWidget* window)
{
    return window && window->isVisible() && !window->isMinimized();
}

void AppWindows::bringForward(QWidget* window)
{
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

void AppWindows::hidePanel()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isVisible() && isFloating(window) && window != m_settingsWindow)
            window->hide();
    }
}

QWidget* AppWindows::makeWindow(
    QWidget* content, const QString& title, QSize size, Qt::WindowFlags flags, std::function<void(QWidget*)> onClose)
{
    auto* window = new HostWindow(
        [onClose = std::move(onClose)](HostWindow* closing) {
            // Gone for every lookup from now on, though deleted only on the next turn.
            closing->setProperty(closedProperty, true);
            if (onClose)
                onClose(closing);
        },
        flags);
    window->setWindowTitle(title);
    window->setAccessibleName(title);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    if (content)
        layout->addWidget(content);
    window->resize(size.expandedTo(window->minimumSizeHint()));
    return window;
}

void AppWindows::openSettingsWindow()
{
    hidePanel();
    if (isShown(m_settingsWindow)) {
        bringForward(m_settingsWindow);
        return;
    }
    QWidget* content = m_settingsContent ? m_settingsContent() : nullptr;
    if (!content)
        return;
    // Closing forgets the window only while it is still the one held: one that was replaced
    // while minimised closes on its own and leaves the newer one in place.
    QWidget* window = makeWindow(content, settingsTitle(), settingsContentSize,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint,
        [self = QPointer<AppWindows>(this)](QWidget* closing) {
            if (self && self->m_settingsWindow == closing)
                self->m_settingsWindow = nullptr;
        });
    window->setObjectName(QStringLiteral("settings-window"));
    // The content has one size: a window that cannot be resized is offered no maximise, which
    // would only add blank space around it.
    window->setFixedSize(window->size());
    centre(window);
    bringForward(window);
    m_settingsWindow = window;
    Q_EMIT settingsWindowOpened(window);
}

QWidget* AppWindows::findOnboardingWindow()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->windowTitle() == onboardingTitle() && !window->property(closedProperty).toBool())
            return window;
    }
    return nullptr;
}

void AppWindows::showOnboarding()
{
    if (QWidget* existing = findOnboardingWindow()) {
        bringForward(existing);
        return;
    }
    QWidget* content = m_onboardingContent ? m_onboardingContent() : nullptr;
    if (!content)
        return;
    // Held by no one: the window deletes itself once when it closes.
    QWidget* window = makeWindow(content, onboardingTitle(), onboardingContentSize,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint, {});
    window->setObjectName(QStringLiteral("onboarding-window"));
    // The pages have one size; a window that cannot be resized is offered no maximise button.
    window->setFixedSize(window->size());
    centre(window);
    bringForward(window);
}

void AppWindows::showOnboardingIfNeeded(bool hasCompletedOnboarding)
{
    if (hasCompletedOnboarding)
        return;
    QTimer::singleShot(onboardingDelayMs, this, [this] { showOnboarding(); });
}

} // namespace tremlor
