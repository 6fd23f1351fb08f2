#pragma once

#include "Platform/Xdg/DesktopEntry.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tremlor::xdg {

// Finds the desktop entry of a desktop-file ID in the application folders (first folder wins, in
// the order the scanner uses). IDs are validated and candidate files must lie inside a folder:
// an identifier from settings such as "../../x" never becomes a path.
class DesktopEntryLookup final {
public:
    // The standard folders, read at each lookup.
    DesktopEntryLookup();
    explicit DesktopEntryLookup(QStringList folders);

    // Path of the entry's file ("URL for a bundle identifier"); empty when there is none.
    QString entryPath(const QString& id) const;
    // The parsed entry of an application (Type=Application); nothing otherwise.
    std::optional<DesktopEntry> entry(const QString& id) const;

private:
    QStringList folders() const;

    std::optional<QStringList> m_folders;
};

} // namespace tremlor::xdg
