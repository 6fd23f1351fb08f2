#pragma once

#include "KestuDesign/Onboarding/KestuOnboardingHeroPage.h"

namespace kestu {

// The first onboarding page: a symbol (64 points, in the accent colour or a top-to-bottom
// gradient) that springs up from half size, then "Welcome to <name>" and a subtitle fading in.
class KestuOnboardingWelcomeView final : public KestuOnboardingHeroPage {
    Q_OBJECT
public:
    // A present gradient, even an empty one, takes the place of the accent colour.
    KestuOnboardingWelcomeView(QString appName, QString icon, QString subtitle,
        std::optional<QList<QColor>> iconGradient, QWidget* parent = nullptr);

    const QString& appName() const { return m_appName; }
    static QString titleFor(const QString& appName);

private:
    QString m_appName;
};

} // namespace kestu
