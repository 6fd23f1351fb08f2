#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace tremlor::xdg {

// The window classes that the entries of the application folders name as StartupWMClass: a
// window of such a class belongs to that entry, whatever program runs it. The first entry of
// each desktop-file ID counts (a Hidden one claims nothing). The entries are read once for a
// list of folders, and again only after a watcher (on the main thread's event loop) saw a change
// below them, so a running check reads no file. Callable from any thread.
class ClaimedWindowClasses final {
public:
    static QSet<QString> in(const QStringList& folders);
};

} // namespace tremlor::xdg
