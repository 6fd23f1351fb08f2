#include "KestuDesign/Onboarding/KestuOnboardingCompleteView.h"

#include "KestuDesign/Tokens/KestuColor.h"

#include <QCoreApplication>

namespace kestu {

KestuOnboardingCompleteView::KestuOnboardingCompleteView(QString appName, QString hint, QWidget* parent)
    : KestuOnboardingHeroPage(QStringLiteral("checkmark.circle.fill"), 56, std::nullopt, Color::success(),
        QCoreApplication::translate("KestuOnboardingCompleteView", "You're All Set!"), hint, parent)
    , m_appName(std::move(appName))
    , m_hint(std::move(hint))
{
}

} // namespace kestu
