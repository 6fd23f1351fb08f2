#include "RenderFolder.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <cstdio>

namespace renders {

QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(30, 30, 32));
    p.setColor(QPalette::WindowText, QColor(240, 240, 240));
    p.setColor(QPalette::Base, QColor(40, 40, 42));
    p.setColor(QPalette::Text, QColor(240, 240, 240));
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 155));
    p.setColor(QPalette::Button, QColor(50, 50, 52));
    p.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    p.setColor(QPalette::Highlight, QColor(10, 132, 255));
    return p;
}

QPalette lightPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(236, 236, 236));
    p.setColor(QPalette::WindowText, QColor(20, 20, 20));
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, QColor(20, 20, 20));
    p.setColor(QPalette::PlaceholderText, QColor(140, 140, 145));
    p.setColor(QPalette::Button, QColor(240, 240, 240));
    p.setColor(QPalette::ButtonText, QColor(20, 20, 20));
    p.setColor(QPalette::Highlight, QColor(0, 122, 255));
    return p;
}

namespace {
// Fewer than a handful of sampled pixels differ from the background: nothing was drawn.
bool blank(const QImage& image)
{
    const QRgb background = image.pixel(0, 0);
    int drawn = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            drawn += image.pixel(x, y) != background;
    return drawn <= 20;
}
} // namespace

RenderFolder::RenderFolder(const QString& path)
    : m_path(path)
{
    QDir().mkpath(path);
}

void RenderFolder::save(QWidget& widget, const QString& name, QSize size)
{
    const QPalette original = QApplication::palette();
    const QPalette widgetOriginal = widget.palette();
    for (const bool dark : { false, true }) {
        QApplication::setPalette(dark ? darkPalette() : lightPalette());
        // A window never shown does not follow the application's palette: give it its own.
        widget.setPalette(QApplication::palette());
        if (size.isValid())
            widget.resize(size);
        else
            widget.adjustSize();
        // grab() rather than render() into a 2x image: there Qt draws children that carry a
        // graphics effect (the kit's press style) at doubled offsets.
        QImage image(widget.size(), QImage::Format_ARGB32);
        image.fill(widget.palette().color(QPalette::Window));
        QPainter painter(&image);
        painter.drawPixmap(0, 0, widget.grab());
        painter.end();
        const QString file = QDir(m_path).filePath(QStringLiteral("%1-%2.png").arg(name, dark ? "dark" : "light"));
        if (!image.save(file)) {
            ++m_failed;
            std::fprintf(stderr, "could not write %s\n", qPrintable(file));
        } else if (blank(image)) {
            ++m_failed;
            std::fprintf(stderr, "%s shows nothing but its background\n", qPrintable(file));
        } else {
            ++m_written;
        }
    }
    QApplication::setPalette(original);
    widget.setPalette(widgetOriginal);
}

} // namespace renders
