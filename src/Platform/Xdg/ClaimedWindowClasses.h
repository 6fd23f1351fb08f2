#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace tremlor::xdg {

// The window classes that the entries of the application folders name as StartupWMClass: a
// window of such a class belongs to that entry, whatever program runs it. The first entry of
// each desktop-file ID counts (a Hidden one claims nothing). A file is read again only when it
// changed. Callable from any thread.
class ClaimedWindowClasses final {
public:
    static QSet<QString> in(const QStringList& folders);
};

} // namespace tremlor::xdg
