#pragma once

#include "kit/KitTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QWidget>

namespace viewtest {

// Writes `widget` in light and in dark appearance as <name>-light.png and <name>-dark.png
// into the build's view-renders folder, for a person to look at (never compared).
inline void saveRenders(QWidget& widget, const QString& name)
{
    // The palette is set on the widget itself: an application palette reaches widgets only
    // through posted events. grab() rather than render() into a 2x image: Qt draws children
    // with a graphics effect (the kit's press style) at doubled offsets there.
    const QPalette original = widget.palette();
    const bool hadOwnPalette = widget.testAttribute(Qt::WA_SetPalette);
    QDir().mkpath(QStringLiteral(TREMLOR_VIEW_RENDER_DIR));
    for (const bool dark : { false, true }) {
        widget.setPalette(dark ? kittest::darkPalette() : kittest::lightPalette());
        QCoreApplication::processEvents();
        widget.adjustSize();
        QImage image(widget.size(), QImage::Format_ARGB32);
        image.fill(widget.palette().color(QPalette::Window));
        QPainter painter(&image);
        painter.drawPixmap(0, 0, widget.grab());
        painter.end();
        image.save(QStringLiteral(TREMLOR_VIEW_RENDER_DIR "/%1-%2.png").arg(name, dark ? "dark" : "light"));
    }
    if (hadOwnPalette)
        widget.setPalette(original);
    else
        widget.setPalette(QPalette());
}

} // namespace viewtest
