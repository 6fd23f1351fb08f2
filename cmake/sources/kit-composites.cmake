# The kit's composite views: footer toolbar, inline edit label, about view, animated gradient
# and the onboarding pages.
target_sources(kestu_design PRIVATE
  KestuDesign/Components/KestuAboutView.cpp
  KestuDesign/Components/KestuAboutView.h
  KestuDesign/Components/KestuAnimatedGradient.cpp
  KestuDesign/Components/KestuAnimatedGradient.h
  KestuDesign/Components/KestuFooterButton.cpp
  KestuDesign/Components/KestuFooterButton.h
  KestuDesign/Components/KestuFooterToolbar.cpp
  KestuDesign/Components/KestuFooterToolbar.h
  KestuDesign/Components/KestuInlineEditLabel.cpp
  KestuDesign/Components/KestuInlineEditLabel.h
  KestuDesign/Onboarding/KestuOnboardingCompleteView.cpp
  KestuDesign/Onboarding/KestuOnboardingCompleteView.h
  KestuDesign/Onboarding/KestuOnboardingFeatureCard.cpp
  KestuDesign/Onboarding/KestuOnboardingFeatureCard.h
  KestuDesign/Onboarding/KestuOnboardingFeatureGrid.cpp
  KestuDesign/Onboarding/KestuOnboardingFeatureGrid.h
  KestuDesign/Onboarding/KestuOnboardingHeroPage.cpp
  KestuDesign/Onboarding/KestuOnboardingHeroPage.h
  KestuDesign/Onboarding/KestuOnboardingShell.cpp
  KestuDesign/Onboarding/KestuOnboardingShell.h
  KestuDesign/Onboarding/KestuOnboardingStepDots.cpp
  KestuDesign/Onboarding/KestuOnboardingStepDots.h
  KestuDesign/Onboarding/KestuOnboardingWelcomeView.cpp
  KestuDesign/Onboarding/KestuOnboardingWelcomeView.h
)
