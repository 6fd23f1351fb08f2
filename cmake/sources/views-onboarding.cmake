# The onboarding views: the window's content and its four pages.
target_sources(tremlor_views PRIVATE
  src/Views/Onboarding/OnboardingPages.cpp
  src/Views/Onboarding/OnboardingPages.h
  src/Views/Onboarding/OnboardingPermissionView.cpp
  src/Views/Onboarding/OnboardingPermissionView.h
  src/Views/Onboarding/OnboardingWindow.cpp
  src/Views/Onboarding/OnboardingWindow.h
)
