#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace tremlor {

// The program's own windows: the one settings window (reused while it is visible, forgotten
// when it closes) and the onboarding window (found by its title, deleted once when it closes).
// Hiding the panel hides every floating window except the settings window.
class AppWindows final : public QObject {
    Q_OBJECT

public:
    // Builds a window's content; nothing when the content cannot be made.
    using ContentFactory = std::function<QWidget*()>;

    AppWindows(ContentFactory settingsContent, ContentFactory onboardingContent, QObject* parent = nullptr);
    ~AppWindows() override;
    Q_DISABLE_COPY_MOVE(AppWindows)

    static QString settingsTitle() { return QStringLiteral("Tremlor Settings"); }
    static QString onboardingTitle() { return QStringLiteral("Welcome to Tremlor"); }
    static constexpr QSize settingsContentSize { 700, 500 };
    static constexpr QSize onboardingContentSize { 500, 400 };
    static constexpr int onboardingDelayMs = 500;

    // Hides every visible floating window (popup, tool, stays-on-top) but the settings window.
    void hidePanel();
    // Hides the panel, then brings the visible settings window forward or opens a new one.
    void openSettingsWindow();
    // Brings the window titled "Welcome to Tremlor" forward, or opens a new one.
    void showOnboarding();
    // Half a second from now, unless onboarding is complete.
    void showOnboardingIfNeeded(bool hasCompletedOnboarding);

    QWidget* settingsWindow() const { return m_settingsWindow; }
    static QWidget* findOnboardingWindow();
    static bool isFloating(const QWidget* window);
    // Visible and not minimised.
    static bool isShown(const QWidget* window);
    static void bringForward(QWidget* window);

Q_SIGNALS:
    void settingsWindowOpened(QWidget* window);

private:
    static QWidget* makeWindow(QWidget* content, const QString& title, QSize size, Qt::WindowFlags flags,
        std::function<void(QWidget*)> onClose);

    ContentFactory m_settingsContent;
    ContentFactory m_onboardingContent;
    QPointer<QWidget> m_settingsWindow;
};

} // namespace tremlor
