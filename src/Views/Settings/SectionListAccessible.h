#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace tremlor {

// The accessible interfaces of a SectionList and its rows, for QAccessible::installFactory: the
// list is a table of its rows, so assistive tools can tell which one is selected.
QAccessibleInterface* sectionListAccessibleFactory(const QString& className, QObject* object);

} // namespace tremlor
