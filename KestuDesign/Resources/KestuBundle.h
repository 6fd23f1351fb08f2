#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kestu {

// The kit's resource bundle: a folder named KestuDesign_KestuDesign.bundle that the build puts
// next to the executable, holding the four font files.
class KestuBundle final {
public:
    static constexpr const char* folderName = "KestuDesign_KestuDesign.bundle";

    // The places searched, in order: the application's resource folder (the executable's
    // folder), the folder of the binary that holds the kit's code, the application's own
    // folder (the parent of the executable's folder, as an install prefix), and the installed
    // data folder under it (share/tremlor). An entry is empty when that place is unknown.
    static QStringList candidateFolders();
    // The bundle inside the first candidate that holds one; empty candidates are skipped and
    // later ones are not tried once one opens.
    static std::optional<QString> find(const QStringList& candidates);
    // The bundle inside the first candidate that holds one; stops the process with "unable to
    // find bundle named KestuDesign_KestuDesign" when none does.
    static QString require(const QStringList& candidates);
    // The kit's bundle, searched once per process. Stops the process with "unable to find
    // bundle named KestuDesign_KestuDesign" when no candidate holds it.
    static const QString& module();
    // The file name.extension inside the bundle, or nothing when it is not there.
    static std::optional<QString> resource(const QString& bundle, const QString& name, const QString& extension);
};

} // namespace kestu
