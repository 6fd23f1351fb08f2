#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QFileInfo;

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
    // Calls `visit` with every "*.desktop" file below `folders`, folder by folder, each folder's
    // items in name order, with its path relative to its folder. Folders are followed through
    // links but never twice, at most 16 deep; a folder named "*.desktop" is not entered.
    // `enter`, when given, is called with each folder entered, before its items.
    static void forEachEntryFile(const QStringList& folders,
        const std::function<void(const QFileInfo& file, const QString& relativePath)>& visit,
        const std::function<void(const QString& folder)>& enter = {});
};

} // namespace tremlor::xdg
