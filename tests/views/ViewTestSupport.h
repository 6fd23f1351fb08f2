#pragma once

#include "Helpers/AppListProvider.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"
#include "kit/KitTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QPainter>
#include <QWidget>

namespace viewtest {

using kittest::MotionOverride;

// The installed applications with their real icons (the offscreen session names no icon theme
// and no theme folder, as a desktop session would); the theme comes back when it goes.
struct InstalledApps {
    InstalledApps()
    {
        QIcon::setThemeSearchPaths(themePaths + QStringList { QStringLiteral("/usr/share/icons") });
        QIcon::setThemeName(QStringLiteral("hicolor"));
    }
    ~InstalledApps()
    {
        QIcon::setThemeName(theme);
        QIcon::setThemeSearchPaths(themePaths);
    }
    QList<tremlor::AppInfo> scan() const
    {
        return tremlor::AppListProvider(QStringList { QStringLiteral("/usr/share/applications") }).scanInstalledApps();
    }
    const QString theme = QIcon::themeName();
    const QStringList themePaths = QIcon::themeSearchPaths();
};

// Writes `widget` in light and in dark appearance as <name>-light.png and <name>-dark.png
// into the build's view-renders folder, for a person to look at (never compared).
inline void saveRenders(QWidget& widget, const QString& name)
{
    const QPalette original = QApplication::palette();
    const QPalette widgetOriginal = widget.palette();
    QDir().mkpath(QStringLiteral(TREMLOR_VIEW_RENDER_DIR));
    for (const bool dark : { false, true }) {
        QApplication::setPalette(dark ? kittest::darkPalette() : kittest::lightPalette());
        // A window never shown does not follow the application's palette: give it its own.
        widget.setPalette(QApplication::palette());
        widget.adjustSize();
        // grab() rather than render() into a 2x image: there Qt draws children that carry a
        // graphics effect (the kit's press style) at doubled offsets.
        QImage image(widget.size(), QImage::Format_ARGB32);
        image.fill(widget.palette().color(QPalette::Window));
        QPainter painter(&image);
        painter.drawPixmap(0, 0, widget.grab());
        painter.end();
        image.save(QStringLiteral(TREMLOR_VIEW_RENDER_DIR "/%1-%2.png").arg(name, dark ? "dark" : "light"));
    }
    QApplication::setPalette(original);
    widget.setPalette(widgetOriginal);
}

} // namespace viewtest
