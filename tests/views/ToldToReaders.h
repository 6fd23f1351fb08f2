#pragma once

#include <QAccessible>
#include <QList>

namespace viewtest {

// While a test points this at a list, the state changes told to screen readers go into it: Qt
// hands every update to the accessibility bridges among its plugins, also with no reader active.
using StateChanges = QList<std::pair<const QObject*, QAccessible::State>>;
inline StateChanges* toldToReaders = nullptr;

} // namespace viewtest
