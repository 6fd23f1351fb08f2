#pragma once

#include <QString>
#include <QStringList>

namespace tremlor::xdg {

// The XDG application folders and desktop-file IDs.
class ApplicationFolders final {
public:
    // Each of $XDG_DATA_DIRS (default /usr/local/share:/usr/share) + "/applications", then
    // $XDG_DATA_HOME/applications (default ~/.local/share/applications); read at every call.
    static QStringList standard();
    // A desktop-file ID without ".desktop" that is safe to look up: letters, digits and
    // "._-+@~" only, at most 255 characters, not starting with "." or "-".
    static bool isValidId(const QString& id);
    // The ID of the entry at relativePath below a folder ("kde4/konsole.desktop" →
    // "kde4-konsole"); empty when the path does not name a desktop entry.
    static QString idForRelativePath(const QString& relativePath);
};

} // namespace tremlor::xdg
