#include "KestuDesign/Onboarding/KestuOnboardingWelcomeView.h"

#include "KestuDesign/Tokens/KestuColor.h"

#include <QCoreApplication>

namespace kestu {

KestuOnboardingWelcomeView::KestuOnboardingWelcomeView(
    QString appName, QString icon, QString subtitle, std::optional<QList<QColor>> iconGradient, QWidget* parent)
    : KestuOnboardingHeroPage(icon, 64, std::move(iconGradient), Color::accent(), titleFor(appName), subtitle, parent)
    , m_appName(std::move(appName))
{
}

QString KestuOnboardingWelcomeView::titleFor(const QString& appName)
{
    // One placeholder: the name is inserted once and never scanned for further markers.
    return QCoreApplication::translate("KestuOnboardingWelcomeView", "Welcome to %1").arg(appName);
}

} // namespace kestu
