#pragma once

#include <QString>

namespace tremlor::x11 {

// The display (empty: $DISPLAY) can be opened and offers XTest and XInput2 2.1 or later: the
// program can post input and tell the user's input from its own.
bool hasInputExtensions(const QString& displayName = {});

} // namespace tremlor::x11
