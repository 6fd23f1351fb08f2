#pragma once

class QWidget;

namespace tremlor::OnboardingPages {

// The kit's ready-made pages filled with this product's texts: steps 0, 1 and 3.
QWidget* welcome();
QWidget* features();
QWidget* complete();

} // namespace tremlor::OnboardingPages
