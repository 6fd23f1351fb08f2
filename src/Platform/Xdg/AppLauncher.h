#pragma once

#include "Platform/Xdg/DesktopEntry.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tremlor::xdg {

// Starts desktop entries detached, without a shell, and remembers what it started so that an
// application whose window cannot be matched still counts as running while its process lives.
class AppLauncher final {
public:
    // An executable's absolute path, from a name (looked up in PATH) or a path; empty when
    // there is no such executable.
    using ProgramFinder = std::function<QString(const QString& program)>;

    // Starts the entry's Exec command; false when it cannot be split or started.
    static bool launch(const DesktopEntry& entry);
    // A process started for this desktop-file ID (by any launcher in this process) still runs.
    static bool hasLiveProcess(const QString& id);

    // The words to start: the Exec line split, its program found. An entry with Terminal=true
    // runs in the user's terminal: x-terminal-emulator, else $TERMINAL (`terminalVariable`,
    // given the option of a common terminal of that name, else -e), else the first of a few
    // common ones. Empty when the line does not split, or the program
    // or a terminal is not found.
    static QStringList commandLine(
        const DesktopEntry& entry, const ProgramFinder& find, const QString& terminalVariable);
    // The same with PATH and $TERMINAL of this process.
    static QStringList commandLine(const DesktopEntry& entry);
};

} // namespace tremlor::xdg
