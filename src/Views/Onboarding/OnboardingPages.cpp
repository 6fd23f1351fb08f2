#include "Views/Onboarding/OnboardingPages.h"

#include "KestuDesign/Onboarding/KestuOnboardingCompleteView.h"
#include "KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h"
#include "KestuDesign/Onboarding/KestuOnboardingWelcomeView.h"

namespace tremlor::OnboardingPages {

QWidget* welcome()
{
    auto* page = new kestu::KestuOnboardingWelcomeView(QStringLiteral("Tremlor"),
        QStringLiteral("dot.radiowaves.left.and.right"),
        QStringLiteral("Keep your computer awake, your apps active,\nand your status online."), std::nullopt);
    page->setObjectName(QStringLiteral("onboarding-welcome"));
    return page;
}

QWidget* features()
{
    const QList<kestu::KestuOnboardingFeature> list {
        { QStringLiteral("computermouse"), QStringLiteral("Mouse Jiggling"),
            QStringLiteral("Keeps your computer awake with subtle, invisible mouse movements.") },
        { QStringLiteral("square.grid.2x2"), QStringLiteral("App Rotation"),
            QStringLiteral("Automatically cycle through your chosen apps to keep them active.") },
        { QStringLiteral("timer"), QStringLiteral("Smart Timer"),
            QStringLiteral("Set a duration and Tremlor stops automatically when time's up.") },
        { QStringLiteral("cup.and.saucer"), QStringLiteral("Caffeine Mode"),
            QStringLiteral("Prevent display and system sleep entirely when you need it.") },
        { QStringLiteral("calendar.badge.clock"), QStringLiteral("Scheduling"),
            QStringLiteral("Set recurring schedules so Tremlor runs when you need it.") },
        { QStringLiteral("person.2"), QStringLiteral("Profiles"),
            QStringLiteral("Save different configurations and switch between them instantly.") },
    };
    auto* page = new kestu::KestuOnboardingFeatureGrid(QStringLiteral("What Tremlor Does"), list);
    page->setObjectName(QStringLiteral("onboarding-features"));
    return page;
}

QWidget* complete()
{
    auto* page = new kestu::KestuOnboardingCompleteView(
        QStringLiteral("Tremlor"), QStringLiteral("Click the Tremlor icon in your menu bar to get started."));
    page->setObjectName(QStringLiteral("onboarding-complete"));
    return page;
}

} // namespace tremlor::OnboardingPages
