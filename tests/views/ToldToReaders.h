#pragma once

#include <QAccessible>

#include <functional>

namespace viewtest {

// While a test sets this, every event told to screen readers reaches it: Qt hands each update
// to the accessibility bridges among its plugins, also with no reader active.
inline std::function<void(QAccessibleEvent*)> toldToReaders;

} // namespace viewtest
