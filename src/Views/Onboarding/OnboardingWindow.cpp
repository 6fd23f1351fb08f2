#include "Views/Onboarding/OnboardingWindow.h"

#include "KestuDesign/Onboarding/KestuOnboardingShell.h"
#include "Models/TremlorSettings.h"
#include "Views/Onboarding/OnboardingPages.h"
#include "Views/Onboarding/OnboardingPermissionView.h"

#include <QVBoxLayout>

namespace tremlor {

OnboardingWindow::OnboardingWindow(TremlorSettings& settings, AccessibilityChecking& accessibility,
    std::function<void()> openAccessibilitySettings, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_accessibility(accessibility)
    , m_openAccessibilitySettings(std::move(openAccessibilitySettings))
    , m_shell(new kestu::KestuOnboardingShell(
          stepCount, [this] { m_settings.setHasCompletedOnboarding(true); }, [this](int step) { return page(step); },
          this))
{
    setObjectName(QStringLiteral("onboarding-view"));
    setAccessibleName(QStringLiteral("Welcome to Tremlor"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_shell);
}

QWidget* OnboardingWindow::page(int step)
{
    switch (step) {
    case 0:
        return OnboardingPages::welcome();
    case 1:
        return OnboardingPages::features();
    case 2:
        return new OnboardingPermissionView(m_accessibility, m_openAccessibilitySettings);
    case 3:
        return OnboardingPages::complete();
    default:
        return new QWidget;
    }
}

} // namespace tremlor
