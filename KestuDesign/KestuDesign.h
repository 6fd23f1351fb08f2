#pragma once

// The Kestu design kit: tokens, controls and the onboarding pages. Widgets only; it knows
// nothing of the application that uses it.
namespace kestu {
const char* kitName();
}
