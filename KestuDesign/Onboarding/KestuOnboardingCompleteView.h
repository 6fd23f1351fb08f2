#pragma once

#include "KestuDesign/Onboarding/KestuOnboardingHeroPage.h"

namespace kestu {

// The last onboarding page: a green check-mark springing up from half size, then
// "You're All Set!" and the caller's hint fading in.
class KestuOnboardingCompleteView final : public KestuOnboardingHeroPage {
    Q_OBJECT
public:
    KestuOnboardingCompleteView(QString appName, QString hint, QWidget* parent = nullptr);

    // Kept with the page; no text shows it.
    const QString& appName() const { return m_appName; }
    const QString& hint() const { return m_hint; }

private:
    QString m_appName;
    QString m_hint;
};

} // namespace kestu
