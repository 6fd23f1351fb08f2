#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

namespace tremlor {

// The tray glyphs, registered by name once per process so any view can look them up.
class TremlorGlyphIcon final {
public:
    TremlorGlyphIcon() = delete;

    static constexpr int pointSize = 18;
    // "tremlor-glyph", "tremlor-glyph-active", "tremlor-glyph-paused", in registration order.
    static const QStringList& names();

    // Registers the three glyphs (not templates) unless that has been done in this process; the
    // flag is set before the first registration.
    static void registerAllOnce();
    static bool isRegistered();

    // Loads <name>.png (required) and <name>@2x.png (optional) from the glyph folder and
    // registers an 18 x 18 image under `name`; a missing or unreadable 1x file registers nothing.
    static void registerImage(const QString& name, bool isTemplate);
    // The registered image, or an empty icon when none is registered under `name`.
    static QIcon named(const QString& name);

    // The application's icon for windows and the About section: the sizes the build renders
    // (icons/<size>/ beside the executable) or installs (share/icons/hicolor), else the
    // theme's, else the running glyph.
    static QIcon appIcon(const QString& executableFolder);

    // The folder the glyph files are read from: beside the executable (glyphs/), else the
    // installed data folder (../share/tremlor/glyphs). Tests point it elsewhere.
    static QString folder();
    static void setFolder(const QString& folder);
    // Forgets every registration (tests only).
    static void resetForTesting();
};

} // namespace tremlor
