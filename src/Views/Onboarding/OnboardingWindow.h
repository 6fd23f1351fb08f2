#pragma once

#include <QWidget>

#include <functional>

namespace kestu {
class KestuOnboardingShell;
}

namespace tremlor {

class AccessibilityChecking;
class TremlorSettings;

// The first-run walk-through: welcome, what the program does, the permission, and where to find
// the tray icon, in the kit's paged shell. "Get Started" records that onboarding is complete.
class OnboardingWindow final : public QWidget {
    Q_OBJECT

public:
    OnboardingWindow(TremlorSettings& settings, AccessibilityChecking& accessibility,
        std::function<void()> openAccessibilitySettings, QWidget* parent = nullptr);

    kestu::KestuOnboardingShell& shell() const { return *m_shell; }
    static constexpr int stepCount = 4;

private:
    QWidget* page(int step);

    TremlorSettings& m_settings;
    AccessibilityChecking& m_accessibility;
    std::function<void()> m_openAccessibilitySettings;
    kestu::KestuOnboardingShell* m_shell;
};

} // namespace tremlor
